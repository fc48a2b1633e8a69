// Fuzz target: any text with colour markup given to the ticker, then a pass of scroll steps.
#include <cstddef>
#include <cstdint>
#include <string>

#include "ui/TMarquee.h"

namespace {

class FixedWidthHost : public IMarqueeHost {
public:
    int TextWidth(const std::string& text) override { return static_cast<int>(text.size()) * 9; }
    void TimerChanged(bool, int) override {}
    void StripChanged() override {}
    void ProcessMessages() override {}
    std::int64_t Now() override { return 0; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FixedWidthHost host;
    TMarquee marquee(&host);
    marquee.Resize(722, 31);
    marquee.SetBevelOuter(bvLowered);
    marquee.SetDoPause(true);
    marquee.SetPauseAmount(3);
    marquee.SetSpeed(tsMedium);
    marquee.SetText(std::string(reinterpret_cast<const char*>(data), size));
    marquee.SetActive(true);
    for (int step = 0; step < 400 && marquee.Active(); ++step) marquee.Step();
    return 0;
}
