#include "components/TMAXIM.h"

#include <cstdint>
#include <ctime>

#include "components/LinuxSystemQueries.h"

#ifdef WIN32
#pragma push_macro("WIN32")
#undef WIN32
#define REALTOPIA_RESTORE_WIN32
#endif

namespace {

// The time of day as text, "14:05:09".
std::string TimeOfDayText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char text[16] = {};
    std::strftime(text, sizeof text, "%H:%M:%S", &local);
    return text;
}

// At most `limit` characters of UTF-8 text, never cutting a character in two.
std::string FirstCharacters(const std::string& text, std::size_t limit) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) != 0x80) {  // a character starts here
            if (count == limit) return text.substr(0, i);
            ++count;
        }
    }
    return text;
}

}  // namespace

TMAXIM::TMAXIM(std::shared_ptr<ISystemQueries> queries)
    : queries_(queries ? std::move(queries) : std::make_shared<LinuxSystemQueries>()) {
    // Creation order matters: each failing query leaves its text in the status.
    try {
        projectName_ = "PROJECT1";
        SetErrorStatus("OK");
        WinDir();
        SysDir();
        osType_ = ostype::WIN30;
        ScreenWidth();
        ScreenHeight();
        lastEditDate_ = TimeOfDayText();
        copyright_ = "(c)" + lastEditDate_ + " (" + myCompany_ + ")";
        DetectSystem();
        netEnabled_ = !queries_->NetworkAbsent();
    } catch (...) {
        // The component is still created.
        errorStatus_ = "Could not create instance";
    }
}

void TMAXIM::Loaded() {
    debugMode_ = TDebugModeType::OFF;
}

std::string TMAXIM::AboutMessage() const {
    return "TMAXIM: application information, system queries and the About box";
}

void TMAXIM::SetErrorStatus(const std::string& text) {
    if (text == errorStatus_) return;
    errorStatus_ = text;
    if (enableErrorEvent_ && text != "OK" && onErrorStatusChange_) onErrorStatusChange_(*this);
}

std::string TMAXIM::WinDir() {
    if (auto dir = queries_->WindowsDirectory()) return *dir;
    SetErrorStatus("No Windows directory");
    return "unknown";
}

std::string TMAXIM::SysDir() {
    if (auto dir = queries_->SystemDirectory()) return *dir;
    SetErrorStatus("No System directory");
    return "unknown";
}

int TMAXIM::NumColours() {
    auto colours = queries_->DisplayColours();
    if (colours && queries_->DisplayHasPalette()) colours = queries_->PaletteSize();
    if (!colours) {
        SetErrorStatus("Could not get NumColours");
        return 0;
    }
    // More than a palette's worth reads as 32760 colours: callers take that as "many".
    if (*colours > 256 || *colours < 0) return 32760;
    return *colours;
}

int TMAXIM::ScreenWidth() {
    if (auto width = queries_->ScreenWidth()) return *width;
    SetErrorStatus("Could not get ScreenWidth");
    return 0;
}

int TMAXIM::ScreenHeight() {
    if (auto height = queries_->ScreenHeight()) return *height;
    SetErrorStatus("Could not get ScreenHeight");
    return 0;
}

void TMAXIM::DetectSystem() {
    const auto record = queries_->Version();
    if (!record) return;

    const auto major = static_cast<std::uint16_t>(record->major);
    const auto minor = static_cast<std::uint16_t>(record->minor);
    const auto build = static_cast<std::uint16_t>(record->build & 0xFFFFu);
    winVersion_ = std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(build);
    winVerExtraInfo_ = FirstCharacters(record->extra, 128);

    switch (record->platformFamily) {
        case ISystemQueries::kFamilyWin32s:
            platformId_ = TPlatFormIDType::WIN32S_ON_WIN31;
            osType_ = ostype::WIN31;
            break;
        case ISystemQueries::kFamilyWindows:
            platformId_ = TPlatFormIDType::WIN32_ON_WIN95;
            osType_ = ostype::WIN95;
            break;
        case ISystemQueries::kFamilyNT:
            platformId_ = TPlatFormIDType::WIN32_ON_NT;
            osType_ = ostype::WINNT;
            break;
        case ISystemQueries::kNonWindowsFamily:
            osType_ = ostype::WINOTHER;
            hostName_ = record->hostName;
            break;
        default:
            break;
    }
}

ostype TMAXIM::WinOperatingSystem() {
    DetectSystem();
    return osType_;
}

TPlatFormIDType TMAXIM::WinPlatFormID() {
    DetectSystem();
    return platformId_;
}

std::string TMAXIM::WinVersion() {
    DetectSystem();
    return winVersion_;
}

std::string TMAXIM::WinVerExtraInfo() {
    DetectSystem();
    return winVerExtraInfo_;
}

std::string TMAXIM::OperatingSystemName(ostype family) {
    switch (family) {
        case ostype::WIN30:
            return "Windows 3.0";
        case ostype::WIN31:
            return "Windows 3.1";
        case ostype::WIN311:
            return "Windows 3.11/Workgroups";
        case ostype::WIN95:
            return "Windows 95";
        case ostype::WINNT:
            return "Windows NT";
        case ostype::WINOTHER:
            return "Unknown OS";
        case ostype::WIN32:
            return "";
    }
    return "";
}

TAboutBoxContent TMAXIM::AboutBoxContent() const {
    TAboutBoxContent content;
    content.Product = productName_;
    content.Version = version_;
    content.Host = (osType_ == ostype::WINOTHER && !hostName_.empty())
                       ? hostName_
                       : OperatingSystemName(osType_);
    content.Copyright = copyright_;
    content.Comments = description_;
    return content;
}

bool TMAXIM::ShowAboutBox() {
    if (!aboutBoxPresenter_) return false;
    return aboutBoxPresenter_(AboutBoxContent());
}

#ifdef REALTOPIA_RESTORE_WIN32
#pragma pop_macro("WIN32")
#undef REALTOPIA_RESTORE_WIN32
#endif
