#include "mididoc/core/EventOrderTree.h"

#include <algorithm>
#include <iterator>

namespace zib {

EventOrderTree::EventOrderTree(std::vector<std::unique_ptr<CMidiEvent>> events) : m_size(events.size())
{
    m_blocks.reserve((events.size() + kBlock - 1) / kBlock);
    for (size_t i = 0; i < events.size(); i += kBlock) {
        const auto first = events.begin() + std::ptrdiff_t(i);
        const auto last = events.begin() + std::ptrdiff_t(std::min(events.size(), i + kBlock));
        m_blocks.emplace_back(std::make_move_iterator(first), std::make_move_iterator(last));
    }
    rebuild();
}

void EventOrderTree::rebuild()
{
    const size_t n = m_blocks.size();
    m_fenwick.assign(n + 1, 0);
    for (size_t b = 1; b <= n; ++b) {
        m_fenwick[b] += uint32_t(m_blocks[b - 1].size());
        const size_t up = b + (b & (~b + 1));
        if (up <= n) m_fenwick[up] += m_fenwick[b];
    }
}

void EventOrderTree::resize(size_t block, int64_t delta)
{
    for (size_t b = block + 1; b < m_fenwick.size(); b += b & (~b + 1))
        m_fenwick[b] = uint32_t(int64_t(m_fenwick[b]) + delta);
}

void EventOrderTree::locate(size_t i, size_t& block, size_t& offset) const
{
    // The last block whose preceding blocks hold at most i events: blocks
    // are never empty, so position i lies in it.
    const size_t n = m_blocks.size();
    size_t step = 1;
    while (step * 2 <= n)
        step *= 2;
    size_t at = 0;
    for (; step > 0; step /= 2)
        if (at + step <= n && m_fenwick[at + step] <= i) {
            at += step;
            i -= m_fenwick[at];
        }
    block = at;
    offset = i;
}

CMidiEvent* EventOrderTree::at(size_t i) const
{
    if (i >= m_size) return nullptr;
    size_t block = 0, offset = 0;
    locate(i, block, offset);
    return m_blocks[block][offset].get();
}

void EventOrderTree::insert(size_t i, std::unique_ptr<CMidiEvent> event)
{
    if (i > m_size) i = m_size;
    size_t block = 0, offset = 0;
    if (m_blocks.empty()) {
        m_blocks.emplace_back();
        m_fenwick.assign(2, 0);
    } else if (i == m_size) {
        block = m_blocks.size() - 1;
        offset = m_blocks[block].size();
    } else {
        locate(i, block, offset);
    }
    Block& b = m_blocks[block];
    b.insert(b.begin() + std::ptrdiff_t(offset), std::move(event));
    ++m_size;
    if (b.size() < 2 * kBlock) {
        resize(block, 1);
        return;
    }
    Block upper(std::make_move_iterator(b.begin() + std::ptrdiff_t(kBlock)), std::make_move_iterator(b.end()));
    b.erase(b.begin() + std::ptrdiff_t(kBlock), b.end());
    m_blocks.insert(m_blocks.begin() + std::ptrdiff_t(block + 1), std::move(upper));
    rebuild();
}

std::unique_ptr<CMidiEvent> EventOrderTree::remove(size_t i)
{
    if (i >= m_size) return nullptr;
    size_t block = 0, offset = 0;
    locate(i, block, offset);
    Block& b = m_blocks[block];
    std::unique_ptr<CMidiEvent> e = std::move(b[offset]);
    b.erase(b.begin() + std::ptrdiff_t(offset));
    --m_size;
    if (b.empty()) {
        m_blocks.erase(m_blocks.begin() + std::ptrdiff_t(block));
        rebuild();
    } else {
        resize(block, -1);
    }
    return e;
}

size_t EventOrderTree::upperBound(uint32_t time) const
{
    // The first block that starts later than `time`; the place is in the block before it.
    const auto later = std::upper_bound(m_blocks.begin(), m_blocks.end(), time,
                                        [](uint32_t t, const Block& b) { return t < b.front()->time; });
    if (later == m_blocks.begin()) return 0;
    const size_t block = size_t(later - m_blocks.begin()) - 1;
    size_t before = 0;
    for (size_t b = block; b > 0; b -= b & (~b + 1))
        before += m_fenwick[b];
    const Block& b = m_blocks[block];
    const auto in = std::upper_bound(b.begin(), b.end(), time,
                                     [](uint32_t t, const std::unique_ptr<CMidiEvent>& e) { return t < e->time; });
    return before + size_t(in - b.begin());
}

std::vector<std::unique_ptr<CMidiEvent>> EventOrderTree::release()
{
    std::vector<std::unique_ptr<CMidiEvent>> out;
    out.reserve(m_size);
    for (Block& b : m_blocks)
        std::move(b.begin(), b.end(), std::back_inserter(out));
    m_blocks.clear();
    m_fenwick.clear();
    m_size = 0;
    return out;
}

} // namespace zib
