// The library frame: the trace routine and the process attach/detach sequence.

#include "ulvarf/CGlobalObjectBase.h"
#include "ulvarf/CGlobalObjectCollector.h"
#include "ulvarf/TraceMessage.h"

#include "tests/ulvarf/TraceCapture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zib::ulvarf {
namespace {

TEST(TraceMessage, FormatsAndHandsTheTextToTheSink)
{
    test::TraceCapture capture;
    const std::string expected = "CEventsHeap::Alloc - 'new' used for 133 bytes buffer";
    EXPECT_EQ(TraceMessage("CEventsHeap::Alloc - 'new' used for %d bytes buffer", 133), int(expected.size()));
    ASSERT_EQ(capture.texts().size(), 1u);
    EXPECT_EQ(capture.texts()[0], expected);
}

TEST(TraceMessage, GoesNowhereWithoutASinkAndCutsLongTexts)
{
    // Off by default: no sink, the text is formatted and dropped.
    EXPECT_EQ(SetTraceTarget({}).sink, nullptr);
    EXPECT_EQ(TraceMessage("CMStream::Resize - %s", "Unable to resize"),
              int(std::string("CMStream::Resize - Unable to resize").size()));

    test::TraceCapture capture;
    const std::string longText(5000, 'x');
    const int n = TraceMessage("%s", longText.c_str());
    ASSERT_EQ(capture.texts().size(), 1u);
    EXPECT_EQ(size_t(n), capture.texts()[0].size());
    EXPECT_LT(n, 5000);
}

// Records every notification it gets as "name:operation".
class Recorder : public CGlobalObjectBase {
public:
    Recorder(CGlobalObjectCollector& collector, std::string name, std::vector<std::string>& log)
        : CGlobalObjectBase(collector), name_(std::move(name)), log_(log) {}
    int OnAttach() override { return note("OnAttach"); }
    int OnAttached() override { return note("OnAttached"); }
    int OnDetach() override { return note("OnDetach"); }
    int OnDetached() override { return note("OnDetached"); }

private:
    int note(const char* what)
    {
        log_.push_back(name_ + ":" + what);
        return 0;
    }
    std::string name_;
    std::vector<std::string>& log_;
};

TEST(CGlobalObjectCollector, NotifiesEveryObjectLastRegisteredFirstOneOperationAtATime)
{
    CGlobalObjectCollector collector;
    std::vector<std::string> log;
    Recorder first(collector, "first", log);
    Recorder second(collector, "second", log);

    collector.ProcessAttach();
    EXPECT_EQ(log, (std::vector<std::string>{"second:OnAttach", "first:OnAttach", "second:OnAttached",
                                             "first:OnAttached"}));
    log.clear();
    collector.ProcessDetach();
    EXPECT_EQ(log, (std::vector<std::string>{"second:OnDetach", "first:OnDetach", "second:OnDetached",
                                             "first:OnDetached"}));
    EXPECT_EQ(collector.size(), 0u);
}

TEST(CGlobalObjectCollector, ForgetsAnObjectThatIsDestroyed)
{
    CGlobalObjectCollector collector;
    std::vector<std::string> log;
    Recorder kept(collector, "kept", log);
    {
        Recorder shortLived(collector, "gone", log);
        EXPECT_EQ(collector.size(), 2u);
    }
    EXPECT_EQ(collector.size(), 1u);
    collector.ProcessDetach();
    EXPECT_EQ(log, (std::vector<std::string>{"kept:OnDetach", "kept:OnDetached"}));
}

} // namespace
} // namespace zib::ulvarf
