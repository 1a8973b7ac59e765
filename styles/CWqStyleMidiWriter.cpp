#include "styles/CWqStyleMidiWriter.h"

#include <algorithm>

#include "midi/ValueTexts.h"
#include "styles/StringPrintf.h"

namespace zib {

namespace {

constexpr int kConductor = 0;
constexpr uint32_t kAllTracksMask = 0x3F;
constexpr int kMaxShiftup = 12;

std::string cvName(int cv) { return cv >= 0 && cv < 6 ? StringPrintf("CV%d", cv + 1) : "CV?"; }

// The name for the "Name:" command: the name field without trailing blanks
// and control bytes, made file-name-safe.
std::string commandStyleName(const CWqStyleData& style)
{
    std::string name = style.GetRawStyleName();
    while (!name.empty() && uint8_t(name.back()) <= 0x20) name.pop_back();
    return CWqStyleData::MakeFileNameSafe(name);
}

} // namespace

uint32_t CWqStyleMidiWriter::BarLength(int code)
{
    if (!wq::isValidTimeSigCode(code)) code = wq::kTimeSig44;
    return uint32_t(wq::timeSigNumerator(code) * 4 * wq::kTicksPerQuarter / wq::timeSigBeatUnit(code));
}

// Track bytes

void CWqStyleMidiWriter::Put(OutTrack& out, uint32_t tick, std::initializer_list<uint8_t> bytes)
{
    tick = std::max(tick, out.lastTick);
    out.bytes.varLen(tick - out.lastTick);
    out.lastTick = tick;
    for (uint8_t b : bytes) out.bytes.u8(b);
}

void CWqStyleMidiWriter::Meta(OutTrack& out, uint32_t tick, uint8_t type, std::span<const uint8_t> data)
{
    Put(out, tick, {0xFF, type});
    out.bytes.varLen(uint32_t(data.size()));
    out.bytes.bytes(data);
}

void CWqStyleMidiWriter::Text(OutTrack& out, uint32_t tick, uint8_t type, const std::string& text)
{
    size_t n = std::min<size_t>(text.size(), 255);
    Meta(out, tick, type, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), n));
}

void CWqStyleMidiWriter::TimeSigMeta(OutTrack& out, uint32_t tick, int code)
{
    if (!wq::isValidTimeSigCode(code)) code = wq::kTimeSig44;
    int unit = wq::timeSigBeatUnit(code);
    uint8_t power = unit == 16 ? 4 : unit == 8 ? 3 : 2;
    const uint8_t data[4] = {uint8_t(wq::timeSigNumerator(code)), power, 0x18, 0x08};
    Meta(out, tick, 0x58, data);
}

void CWqStyleMidiWriter::TrackName(int t) { Text(tracks_[size_t(t + 1)], 0, 0x03, GetStyleTrackName(t)); }

// Bank select, program, pan (BASS and ACC tracks) and volume.
void CWqStyleMidiWriter::ChannelHead(int t)
{
    OutTrack& out = tracks_[size_t(t + 1)];
    uint8_t ch = ChannelOf(t);
    uint32_t info = style_.GetCvTrackInfo(0, uint8_t(t));
    uint16_t bank = uint16_t(info >> 16);
    Put(out, 0, {uint8_t(0xB0 | ch), 0, uint8_t((bank >> 8) & 0x7F)});
    Put(out, 0, {uint8_t(0xB0 | ch), 32, uint8_t(bank & 0x7F)});
    Put(out, 0, {uint8_t(0xC0 | ch), uint8_t(info & 0x7F)});
    if (t >= 2) Put(out, 0, {uint8_t(0xB0 | ch), 10, uint8_t(style_.GetTrackPan(uint8_t(t)) & 0x7F)});
    Put(out, 0, {uint8_t(0xB0 | ch), 7, uint8_t(style_.GetTrackParam(0, uint8_t(t)) & 0x7F)});
}

// "MThd", format 1, 7 tracks, division 96, then each track as "MTrk".
std::vector<uint8_t> CWqStyleMidiWriter::Assemble()
{
    ByteWriter file;
    file.text("MThd");
    file.u32be(6);
    file.u16be(1);
    file.u16be(uint16_t(tracks_.size()));
    file.u16be(wq::kTicksPerQuarter);
    for (OutTrack& t : tracks_) {
        file.text("MTrk");
        file.u32be(uint32_t(t.bytes.size()));
        file.bytes(t.bytes.bytes());
    }
    return file.take();
}

// The whole style

CWqStyleMidiWriter::Result CWqStyleMidiWriter::BuildStyle(std::vector<uint8_t>& file)
{
    if (style_.Validate() != WqImageError::None) return Result::DamagedImage;
    for (OutTrack& t : tracks_) t = OutTrack{};
    cvFirstCode_.fill(-1);

    // Conductor head: tempo, time signature and the style's settings as commands.
    OutTrack& conductor = tracks_[kConductor];
    uint32_t tempo = 60000000u / uint32_t(style_.GetTempo());
    Put(conductor, 0, {0xFF, 0x51, 0x03, uint8_t(tempo >> 16), uint8_t(tempo >> 8), uint8_t(tempo)});
    int styleCode = wq::isValidTimeSigCode(style_.GetTimeSigCode()) ? style_.GetTimeSigCode() : wq::kTimeSig44;
    TimeSigMeta(conductor, 0, styleCode);
    conductorCode_ = styleCode;
    Text(conductor, 0, 0x01, "Name: " + commandStyleName(style_));
    uint8_t retrigger = style_.GetRetriggerByte();
    for (int t = 2; t < 6; ++t) Text(conductor, 0, 0x01, StringPrintf("Rflag: %d,%c", 10 + t, (retrigger >> t) & 1 ? 'P' : 'S'));
    for (uint8_t t = 3; t < 6; ++t)
        if (!style_.GetHeaderFlag(t)) Text(conductor, 0, 0x01, StringPrintf("TensionOFF: %d", 10 + t));
    // Wrap-around points run 1-12; a damaged byte is written as 12, the
    // highest value a Shiftup command may carry, so the file still converts.
    for (uint8_t i = 0; i < 4; ++i)
        Text(conductor, 0, 0x01,
             StringPrintf("Shiftup: %s,%d", GetStyleTrackName(2 + i).c_str(), std::min(style_.GetWrapAround(i) + 1, kMaxShiftup)));
    for (int t = 0; t < wq::kTrackCount; ++t) {
        TrackName(t);
        ChannelHead(t);
    }

    // Bar 1 is the setup bar: the chord variations start at bar 2.
    uint32_t position = BarLength(styleCode);
    for (int e = 0; e < wq::kElementCount; ++e) {
        if (style_.IsStyleElementEmpty(uint8_t(e))) continue;
        int lastCv = -1;
        for (int cv = 0; cv < wq::cvCountOf(e); ++cv)
            if (style_.GetCvLength(uint8_t(e), uint8_t(cv)) > 0) lastCv = cv;
        bool elementWritten = false;
        auto writeElement = [&] {
            if (elementWritten) return;
            elementWritten = true;
            Text(conductor, position, 0x01, "Element: " + GetStyleElementName(e));
            int maxCv = wq::cvCountOf(e) - 1;
            for (uint8_t i = 0; i < wq::kChordTableSize; ++i) {
                int entry = std::min<int>(style_.GetElementList(uint8_t(e), i), maxCv);
                Text(conductor, position, 0x01, StringPrintf("Table: %s,%d", CWqStyleData::GetChordTypeName(i + 1), entry + 1));
            }
            Text(conductor, position, 0x01, e == 4 || e == 6 ? "NTT: 4" : "NTT: 3");
        };
        for (int cv = 0; cv < wq::cvCountOf(e); ++cv) {
            int length = style_.GetCvLength(uint8_t(e), uint8_t(cv));
            if (length > wq::kMaxCvBars) {
                failedElement_ = e;
                failedCv_ = cv;
                return Result::CvTooLong;
            }
            std::string cvCommand = std::string("CV: ") + CWqStyleData::GetKeyName(style_.GetCvKeyByte(uint8_t(e), uint8_t(cv)));
            if (length == 0) {
                // A CV without bars before a written one keeps the CV numbering
                // of the element: its command is followed at once by the next.
                if (cv < lastCv) {
                    writeElement();
                    Text(conductor, position, 0x01, cvCommand);
                }
                continue;
            }
            writeElement();
            Text(conductor, position, 0x01, cvCommand);
            position += RenderCv(e, cv, position, kAllTracksMask, true);
        }
    }

    for (OutTrack& t : tracks_) Put(t, position, {0xFF, 0x2F, 0x00});
    file = Assemble();
    return Result::Ok;
}

// One chord variation

CWqStyleMidiWriter::Result CWqStyleMidiWriter::BuildChordVar(int element, int cv, int track, std::vector<uint8_t>& file)
{
    bool allTracks = track == -1 || track == 255;
    if (!wq::isValidCv(element, cv) || (!allTracks && !wq::isValidTrack(track))) return Result::BadArguments;
    if (style_.Validate() != WqImageError::None) return Result::DamagedImage;
    int length = style_.GetCvLength(uint8_t(element), uint8_t(cv));
    if (length == 0) return Result::BadArguments;
    if (length > wq::kMaxCvBars) {
        failedElement_ = element;
        failedCv_ = cv;
        return Result::CvTooLong;
    }
    for (OutTrack& t : tracks_) t = OutTrack{};
    cvFirstCode_.fill(-1);

    OutTrack& conductor = tracks_[kConductor];
    uint32_t tempo = 60000000u / uint32_t(style_.GetTempo());
    Put(conductor, 0, {0xFF, 0x51, 0x03, uint8_t(tempo >> 16), uint8_t(tempo >> 8), uint8_t(tempo)});
    conductorCode_ = -1; // the CV's first bar sets the time signature at tick 0
    uint32_t mask = allTracks ? kAllTracksMask : 1u << track;
    for (int t = 0; t < wq::kTrackCount; ++t) {
        TrackName(t);
        if (mask & (1u << t)) ChannelHead(t);
    }
    uint32_t end = RenderCv(element, cv, 0, mask, true);
    for (OutTrack& t : tracks_) Put(t, end, {0xFF, 0x2F, 0x00});
    file = Assemble();
    return Result::Ok;
}

// Renders one CV from `cvStart` on and returns its length in ticks. A
// measuring walk over the bar events of all six tracks gives each bar's time
// signature and length; the conductor writes a time-signature event where it
// changes; then the tracks in `trackMask` are played.
uint32_t CWqStyleMidiWriter::RenderCv(int element, int cv, uint32_t cvStart, uint32_t trackMask, bool labels)
{
    int length = style_.GetCvLength(uint8_t(element), uint8_t(cv));
    std::array<uint32_t, wq::kMaxCvBars> measured{};
    std::array<int, wq::kMaxCvBars> barCode;
    barCode.fill(-1);
    for (int t = 0; t < wq::kTrackCount; ++t) {
        auto run = style_.GetSlotRun(wq::trackSlotOf(element, cv, t));
        for (size_t at = 0; at + wq::kEventSize <= run.size(); at += wq::kEventSize) {
            WqEvent e = WqEvent::fromBytes(run.data() + at);
            if (!e.isBar() || e.barNumber() >= length) continue;
            measured[e.barNumber()] = std::max(measured[e.barNumber()], BarLength(e.barTimeSig()));
            barCode[e.barNumber()] = e.barTimeSig();
        }
    }
    // Bars nobody marks keep the signature before them; a CV without bar
    // events takes that of the element's nearest earlier CV, else the current one.
    if (barCode[0] < 0) {
        for (int earlier = cv - 1; earlier >= 0 && barCode[0] < 0; --earlier)
            barCode[0] = cvFirstCode_[size_t(wq::cvIndexOf(element, earlier))];
        if (barCode[0] < 0) barCode[0] = conductorCode_ >= 0 ? conductorCode_ : style_.GetTimeSigCode();
    }
    for (int b = 1; b < length; ++b)
        if (barCode[size_t(b)] < 0) barCode[size_t(b)] = barCode[size_t(b - 1)];
    cvFirstCode_[size_t(wq::cvIndexOf(element, cv))] = barCode[0];

    uint32_t barTick = cvStart;
    for (int b = 0; b < length; ++b) {
        if (barCode[size_t(b)] != conductorCode_) {
            TimeSigMeta(tracks_[kConductor], barTick, barCode[size_t(b)]);
            conductorCode_ = barCode[size_t(b)];
        }
        barTick += measured[size_t(b)] ? measured[size_t(b)] : BarLength(barCode[size_t(b)]);
    }
    uint32_t duration = barTick - cvStart;

    for (int t = 0; t < wq::kTrackCount; ++t) {
        if (!(trackMask & (1u << t))) continue;
        OutTrack& out = tracks_[size_t(t + 1)];
        if (labels)
            Text(out, cvStart, 0x01, GetStyleElementName(element) + cvName(cv) + "_" + GetStyleTrackName(t));
        Player player;
        player.track = t;
        player.channel = ChannelOf(t);
        player.length = length;
        player.cvStart = cvStart;
        player.barStart = cvStart;
        player.barLength = BarLength(barCode[0]);
        duration = std::max(duration, PlayTrack(player, style_.GetSlotRun(wq::trackSlotOf(element, cv, t))));
    }
    return duration;
}

uint32_t CWqStyleMidiWriter::PlayTrack(Player& player, std::span<const uint8_t> run)
{
    for (size_t at = 0; at + wq::kEventSize <= run.size() && !player.finished; at += wq::kEventSize)
        Handle(player, WqEvent::fromBytes(run.data() + at), false);
    if (!player.finished && player.barCounter > 0) Flush(player);
    return player.barStart - player.cvStart;
}

// Event rules of one image event.
void CWqStyleMidiWriter::Handle(Player& p, const WqEvent& e, bool inPattern)
{
    uint8_t ch = p.channel;
    switch (e.kind()) {
    case WqEventKind::Bar: {
        if (inPattern) {
            p.skip = e.barNumber() != p.repeatCounter;
            return;
        }
        if (p.barCounter >= p.length) {
            Flush(p);
            p.finished = true;
            return;
        }
        if (p.barCounter > 0) Flush(p);
        p.barLength = BarLength(e.barTimeSig());
        if (e.barMark() == WqBarMark::Start) p.repeatCounter = 0;
        else if (e.barMark() == WqBarMark::Continued) ++p.repeatCounter;
        ++p.barCounter;
        if (e.hasPattern() && e.barPattern() < wq::kPatternCount) {
            // Only the pattern bar numbered like the repeat counter plays; no
            // pattern plays inside a pattern (Handle never recurses here).
            p.skip = true;
            auto pattern = style_.GetPatternRun(e.barPattern());
            for (size_t at = 0; at + wq::kEventSize <= pattern.size(); at += wq::kEventSize)
                Handle(p, WqEvent::fromBytes(pattern.data() + at), true);
            p.skip = false;
        }
        return;
    }
    case WqEventKind::End:
        if (inPattern) return;
        if (p.barCounter > 0) Flush(p);
        p.finished = true;
        return;
    case WqEventKind::Note:
        HandleNote(p, e);
        return;
    case WqEventKind::Other:
        return;
    default:
        break;
    }
    uint16_t time = e.time();
    if (time > p.barLength || p.barCounter > p.length || p.skip) return;
    uint8_t d1 = e.b[2] & 0x7F, d2 = e.b[3] & 0x7F;
    switch (e.kind()) {
    case WqEventKind::PitchBend: Enqueue(p, time, {uint8_t(0xE0 | ch), d1, d2}); break;
    case WqEventKind::Aftertouch: Enqueue(p, time, {uint8_t(0xD0 | ch), d1}); break;
    case WqEventKind::ProgramChange: Enqueue(p, time, {uint8_t(0xC0 | ch), d1}); break;
    case WqEventKind::ControlChange: Enqueue(p, time, {uint8_t(0xB0 | ch), d1, d2}); break;
    case WqEventKind::PolyAftertouch: Enqueue(p, time, {uint8_t(0xA0 | ch), d1, d2}); break;
    default: break;
    }
}

// Notes are fitted to the bar (L = bar length, t = time, d = duration, 510 =
// tie): a tie into the next bar ends at the bar line only in the CV's last
// bar; a note reaching the bar line ends there, in the last bar two ticks
// before it.
void CWqStyleMidiWriter::HandleNote(Player& p, const WqEvent& e)
{
    const int L = int(p.barLength);
    int t = e.time(), d = e.duration();
    bool tiedIn = t == wq::kTie, tiedOut = d == wq::kTie;
    if ((!tiedIn && t > L) || p.barCounter > p.length || p.skip) return;
    bool lastBar = p.barCounter == p.length;
    if (tiedOut) {
        if (lastBar) {
            d = tiedIn ? L : L - t;
            tiedOut = false;
        }
    } else if (tiedIn) {
        if (d >= L) d = lastBar ? L - 2 : L;
    } else if (d + t >= L) {
        if (!lastBar) {
            d = L - t;
        } else if (t >= L) {
            return; // starts at the CV's end
        } else if (t == L - 1) {
            t = L - 2;
            d = 1;
        } else {
            d = L - t - 2;
        }
    }
    d = std::max(d, 0);
    uint8_t note = e.noteNumber(), velocity = e.velocity();
    if (!tiedIn) Enqueue(p, uint16_t(t), {uint8_t(0x90 | p.channel), note, velocity});
    if (!tiedOut) Enqueue(p, uint16_t(tiedIn ? d : t + d), {uint8_t(0x80 | p.channel), note, velocity});
}

// Queued after every event of the same or an earlier time.
void CWqStyleMidiWriter::Enqueue(Player& p, uint16_t time, std::initializer_list<uint8_t> data)
{
    Queued q{time, {}, uint8_t(data.size())};
    std::copy(data.begin(), data.end(), q.data.begin());
    auto at = std::upper_bound(p.queue.begin(), p.queue.end(), time, [](uint16_t t, const Queued& x) { return t < x.time; });
    p.queue.insert(at, q);
}

// Writes the bar's events in time order; the next bar starts one bar later.
void CWqStyleMidiWriter::Flush(Player& p)
{
    OutTrack& out = tracks_[size_t(p.track + 1)];
    for (const Queued& q : p.queue) {
        if (q.size == 2) Put(out, p.barStart + q.time, {q.data[0], q.data[1]});
        else Put(out, p.barStart + q.time, {q.data[0], q.data[1], q.data[2]});
    }
    p.queue.clear();
    p.barStart += p.barLength;
}

} // namespace zib
