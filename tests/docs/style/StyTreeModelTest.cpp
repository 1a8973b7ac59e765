// The style tree without a window: node codes, the trees of both series,
// levels, images after a track edit and the Wq text pane's headers.
#include "docs/style/core/StyTreeModel.h"
#include "styles/CWqStyleData.h"
#include "tests/support/FakeQeStyleEditor.h"
#include "tests/support/WqImageBuilder.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

using test::FakeQeStyleEditor;
using test::WqEv;
using test::WqImageBuilder;

struct Sel {
    int e, cv, t;
};

TEST(StyNodeCode, EncodesAndDecodesEveryNodeOfBothTrees)
{
    for (int e = 0; e < 12; ++e) {
        EXPECT_EQ(StyNodeCode::Element(e), (e + 1) * 1000);
        QeTreeSelection s = StyNodeCode::Decode(StyNodeCode::Element(e));
        EXPECT_TRUE(s.IsElement());
        EXPECT_EQ(s.element, e);
        for (int c = 0; c < 6; ++c) {
            s = StyNodeCode::Decode(StyNodeCode::Cv(e, c));
            EXPECT_TRUE(s.IsCv());
            EXPECT_EQ(s.element, e);
            EXPECT_EQ(s.cv, c);
            for (int t = 0; t < 8; ++t) {
                const int code = StyNodeCode::Track(e, c, t);
                s = StyNodeCode::Decode(code);
                ASSERT_TRUE(s.IsTrack()) << code;
                EXPECT_EQ(s.element, e);
                EXPECT_EQ(s.cv, c);
                EXPECT_EQ(s.track, t);
                EXPECT_EQ(StyNodeCode::Of(s), code);
            }
        }
    }
    EXPECT_EQ(StyNodeCode::Track(0, 0, 0), 1110);
    EXPECT_EQ(StyNodeCode::Track(11, 5, 7), 12680);
}

TEST(StyNodeCode, RootAndMalformedCodesSelectNothing)
{
    for (int code : {StyNodeCode::kRoot, 0, -5, 999, 13000, 1005, 1050, 1001, 1700, 1190, 1195, 1100 + 95, 99999}) {
        const QeTreeSelection s = StyNodeCode::Decode(code);
        EXPECT_EQ(s.element, 255) << code;
        EXPECT_EQ(s.cv, 255) << code;
        EXPECT_EQ(s.track, 255) << code;
    }
    EXPECT_EQ(StyNodeCode::Of(QeTreeSelection{}), 0);
    EXPECT_EQ(StyNodeCode::Of(QeTreeSelection{3, 255, 4}), 4000) << "a track without its CV is the element";
}

// Texts and images of the nodes, in insertion order.
std::vector<std::string> describe(const StyTreeModel& tree)
{
    std::vector<std::string> out;
    for (const StyTreeNode& n : tree.Nodes())
        out.push_back(std::to_string(n.code) + " " + n.text + " " + std::to_string(n.image) + (n.expanded ? "+" : ""));
    return out;
}

TEST(StyTreeModel, QeTreeShowsElementsCvsAndTracksOfCvsWithData)
{
    FakeQeStyleEditor editor;
    editor.cvWithData(0, 0);
    editor.patternStatus[0][0][3] = 1; // ACC1 flagged empty
    editor.patternStatus[0][0][7] = 0; // ACC5 absent
    editor.cvStatus[0][1] = 1;         // present, all patterns empty
    editor.elementStatus[5] = 1;
    const StyTreeModel tree = StyTreeModel::FillQe(editor, "Style Tree: Pop");
    const auto nodes = describe(tree);
    ASSERT_EQ(tree.Nodes().size(), 1u + 10u + 4 * 6 + 6 * 2 + 8);
    EXPECT_EQ(nodes[0], "1 Style Tree: Pop 0+");
    EXPECT_EQ(nodes[1], "1000 Variation1 1+");
    EXPECT_EQ(nodes[2], "1100 CV1 2+");
    EXPECT_EQ(nodes[3], "1110 DRUM 3");
    EXPECT_EQ(nodes[6], "1140 ACC1 3") << "a pattern flagged empty is present";
    EXPECT_EQ(nodes[10], "1180 ACC5 6");
    EXPECT_EQ(nodes[11], "1200 CV2 2") << "present but empty: the CV image, no tracks";
    EXPECT_EQ(nodes[12], "1300 CV3 5");
    EXPECT_EQ(tree.Nodes()[12].parent, 1);
    const int intro2 = tree.Find(StyNodeCode::Element(5));
    EXPECT_EQ(nodes[size_t(intro2)], "6000 Intro2 1+");
    EXPECT_EQ(nodes[size_t(tree.Find(StyNodeCode::Element(6)))], "7000 Fill1 4+");
    EXPECT_EQ(tree.Find(StyNodeCode::Element(10)), -1) << "a Qe4k style has ten elements";

    editor.version = 1;
    const StyTreeModel qe9z = StyTreeModel::FillQe(editor, "t");
    EXPECT_EQ(describe(qe9z)[size_t(qe9z.Find(StyNodeCode::Element(10)))], "11000 Fill3 4+");
    EXPECT_EQ(describe(qe9z)[size_t(qe9z.Find(StyNodeCode::Element(11)))], "12000 Intro3 4+");
    EXPECT_EQ(qe9z.Find(StyNodeCode::Cv(11, 2)), -1) << "Intro3 has two CVs";
}

TEST(StyTreeModel, WqTreeShowsOnlyWhatHoldsData)
{
    const std::vector<uint8_t> image = WqImageBuilder('9')
                                           .cv(0, 0, 0, 1)
                                           .slot(0, 0, 0, {WqEv::note(0, 36, 100, 96), WqEv::end(0)})
                                           .slot(0, 0, 2, {WqEv::note(0, 40, 100, 96), WqEv::end(0)})
                                           .cv(6, 1, 0, 1)
                                           .slot(6, 1, 5, {WqEv::note(0, 60, 100, 96), WqEv::end(0)})
                                           .build();
    const CWqStyleData style(image.data(), image.size(), '9');
    const auto nodes = describe(StyTreeModel::FillWq(style, "Style Tree: W"));
    EXPECT_EQ(nodes, (std::vector<std::string>{"1 Style Tree: W 0+", "1000 Variation1 1+", "1100 CV1 2+",
                                               "1110 DRUM 3", "1130 BASS 3", "7000 End1 1+", "7200 CV2 2+",
                                               "7260 ACC3 3"}));
}

TEST(StyTreeModel, LevelsExpandAndTheLevelButtonsCycle)
{
    const struct {
        int code, level;
        bool expanded;
    } cases[] = {
        {StyNodeCode::kRoot, 0, false}, {StyNodeCode::kRoot, 1, true},   {1000, 1, false}, {1000, 2, true},
        {1100, 2, false},               {1100, 3, true},                 {1110, 3, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StyNodeExpandedAtLevel(c.code, c.level), c.expanded) << c.code << " " << c.level;
    // Pressing "CV Level" twice shows the element level the second time.
    int level = StyLevelAfterPress(2, false);
    EXPECT_EQ(level, 2);
    EXPECT_EQ(StyLevelAfterPress(level, true), 1);
    EXPECT_EQ(StyLevelAfterPress(0, true), 3) << "from the root level round to the track level";
    EXPECT_EQ(StyLevelAfterPress(3, false), 3);
}

TEST(StyTreeModel, ImageOfTheSelectedNodeAfterATrackEdit)
{
    const struct {
        QeTreeSelection s;
        bool nonEmpty;
        int image;
    } cases[] = {
        {{0, 1, 2}, true, kImgTrack},    {{0, 1, 2}, false, kImgEmptyTrack}, {{3, 255, 255}, true, kImgElement},
        {{3, 255, 255}, false, kImgEmptyElement}, {{3, 0, 255}, false, kImgEmptyCv}, {{255, 1, 2}, true, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StyNodeImageAfterEdit(c.s, c.nonEmpty), c.image);
}

TEST(StyTreeModel, NodeTextsAndWqDumpHeaders)
{
    EXPECT_EQ(QeTrackNodeText(0, 0, 0), "V1CV1 DRUM");
    EXPECT_EQ(QeTrackNodeText(11, 1, 7), "I3CV2 ACC5");
    EXPECT_EQ(WqTrackNodeText(6, 1, 5), "E1CV2 ACC3");

    const std::vector<uint8_t> image = WqImageBuilder('9')
                                           .cv(0, 0, 0, 1)
                                           .slot(0, 0, 0, {WqEv::note(0, 36, 100, 96), WqEv::end(0)})
                                           .build();
    const CWqStyleData style(image.data(), image.size(), '9');
    EXPECT_EQ(WqDumpHeader(style, {}), "Wqstyle Dump Report");
    EXPECT_EQ(WqDumpHeader(style, {0, 0, 2}), "=== Variation1, CV1, BASS ===");
    EXPECT_EQ(WqDumpHeader(style, {0, 255, 255}), "=== Variation1, CV1, DRUM ===") << "an element counts as its CV1";
    EXPECT_EQ(WqDumpHeader(style, {0, 1, 255}), "EMPTY: Variation1, CV2");
}

} // namespace
} // namespace zib
