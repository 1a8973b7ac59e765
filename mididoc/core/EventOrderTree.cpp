#include "mididoc/core/EventOrderTree.h"

namespace zib {

EventOrderTree::EventOrderTree(std::vector<std::unique_ptr<CMidiEvent>> events)
{
    // A Cartesian tree of random priorities over the array, built in O(n)
    // with the stack of its right spine.
    m_nodes.reserve(events.size());
    std::vector<int32_t> spine;
    for (auto& e : events) {
        const int32_t n = newNode(std::move(e));
        int32_t last = -1;
        while (!spine.empty() && m_nodes[size_t(spine.back())].priority < m_nodes[size_t(n)].priority) {
            last = spine.back();
            spine.pop_back();
            update(last);
        }
        m_nodes[size_t(n)].left = last;
        if (!spine.empty()) m_nodes[size_t(spine.back())].right = n;
        spine.push_back(n);
    }
    while (!spine.empty()) {
        update(spine.back());
        m_root = spine.front();
        spine.pop_back();
    }
}

uint32_t EventOrderTree::nextPriority()
{
    // splitmix64
    uint64_t z = (m_seed += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return uint32_t(z ^ (z >> 31));
}

int32_t EventOrderTree::newNode(std::unique_ptr<CMidiEvent> event)
{
    Node node;
    node.event = std::move(event);
    node.priority = nextPriority();
    if (!m_free.empty()) {
        const int32_t n = m_free.back();
        m_free.pop_back();
        m_nodes[size_t(n)] = std::move(node);
        return n;
    }
    m_nodes.push_back(std::move(node));
    return int32_t(m_nodes.size() - 1);
}

void EventOrderTree::update(int32_t n)
{
    Node& node = m_nodes[size_t(n)];
    node.size = 1 + sizeOf(node.left) + sizeOf(node.right);
}

size_t EventOrderTree::size() const
{
    return sizeOf(m_root);
}

// The first `count` events go left, the rest right.
void EventOrderTree::split(int32_t n, size_t count, int32_t& left, int32_t& right)
{
    if (n < 0) {
        left = right = -1;
        return;
    }
    Node& node = m_nodes[size_t(n)];
    if (sizeOf(node.left) >= count) {
        split(node.left, count, left, m_nodes[size_t(n)].left);
        right = n;
    } else {
        split(node.right, count - sizeOf(node.left) - 1, m_nodes[size_t(n)].right, right);
        left = n;
    }
    update(n);
}

int32_t EventOrderTree::merge(int32_t a, int32_t b)
{
    if (a < 0) return b;
    if (b < 0) return a;
    if (m_nodes[size_t(a)].priority > m_nodes[size_t(b)].priority) {
        const int32_t r = merge(m_nodes[size_t(a)].right, b);
        m_nodes[size_t(a)].right = r;
        update(a);
        return a;
    }
    const int32_t l = merge(a, m_nodes[size_t(b)].left);
    m_nodes[size_t(b)].left = l;
    update(b);
    return b;
}

CMidiEvent* EventOrderTree::at(size_t i) const
{
    int32_t n = m_root;
    while (n >= 0) {
        const Node& node = m_nodes[size_t(n)];
        const size_t leftSize = sizeOf(node.left);
        if (i < leftSize) {
            n = node.left;
        } else if (i == leftSize) {
            return node.event.get();
        } else {
            i -= leftSize + 1;
            n = node.right;
        }
    }
    return nullptr;
}

void EventOrderTree::insert(size_t i, std::unique_ptr<CMidiEvent> event)
{
    if (i > size()) i = size();
    const int32_t n = newNode(std::move(event));
    int32_t left, right;
    split(m_root, i, left, right);
    m_root = merge(merge(left, n), right);
}

std::unique_ptr<CMidiEvent> EventOrderTree::remove(size_t i)
{
    if (i >= size()) return nullptr;
    int32_t left, middle, right;
    split(m_root, i, left, right);
    split(right, 1, middle, right);
    m_root = merge(left, right);
    std::unique_ptr<CMidiEvent> e = std::move(m_nodes[size_t(middle)].event);
    m_free.push_back(middle);
    return e;
}

size_t EventOrderTree::upperBound(uint32_t time) const
{
    size_t before = 0;
    int32_t n = m_root;
    while (n >= 0) {
        const Node& node = m_nodes[size_t(n)];
        if (node.event->time <= time) {
            before += sizeOf(node.left) + 1;
            n = node.right;
        } else {
            n = node.left;
        }
    }
    return before;
}

std::vector<std::unique_ptr<CMidiEvent>> EventOrderTree::release()
{
    std::vector<std::unique_ptr<CMidiEvent>> out;
    out.reserve(size());
    std::vector<int32_t> stack;
    int32_t n = m_root;
    while (n >= 0 || !stack.empty()) {
        while (n >= 0) {
            stack.push_back(n);
            n = m_nodes[size_t(n)].left;
        }
        n = stack.back();
        stack.pop_back();
        out.push_back(std::move(m_nodes[size_t(n)].event));
        n = m_nodes[size_t(n)].right;
    }
    m_nodes.clear();
    m_free.clear();
    m_root = -1;
    return out;
}

} // namespace zib
