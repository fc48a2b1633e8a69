#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "components/ISystemQueries.h"

// Windows compilers predefine WIN32, which would swallow the enumerator of the same name.
#ifdef WIN32
#pragma push_macro("WIN32")
#undef WIN32
#define REALTOPIA_RESTORE_WIN32
#endif

enum class ostype { WIN30, WIN31, WIN311, WIN95, WINNT, WINOTHER, WIN32 };

#ifdef REALTOPIA_RESTORE_WIN32
#pragma pop_macro("WIN32")
#undef REALTOPIA_RESTORE_WIN32
#endif

enum class TPlatFormIDType { WIN32S_ON_WIN31, WIN32_ON_WIN95, WIN32_ON_NT };
enum class DType { CD_ROM, SINGLE_FLOPPY, MULTI_FLOPPIES, INTERNET, MULTIDIST, OTHER };
enum class TDebugModeType {
    OFF,
    LEVEL0,
    LEVEL1,
    LEVEL2,
    LEVEL3,
    LEVEL4,
    LEVEL5,
    MINOR,
    NITPICKING
};
enum class TSplashBoxType { GREY, WHITE };
enum class TSplashBoxWaitType { SHORT, MEDIUM, LONG };

// What the About box shows; the front end lays it out.
struct TAboutBoxContent {
    static constexpr const char* ProductCaption = "Product:";
    static constexpr const char* VersionCaption = "Version:";
    static constexpr const char* HostCaption = "Host:";
    std::string Caption = "About";
    std::string Product;
    std::string Version;
    std::string Host;
    std::string Copyright;
    std::string Comments;
};

// The application-information component: the program's descriptive record, answers about the
// host system, an error status, and the About box built from them.
//
// Host system on Linux: none of the three Windows families applies. The version record of a
// non-Windows host (family ISystemQueries::kNonWindowsFamily) sets WinOperatingSystem to
// WINOTHER and leaves WinPlatFormID as it was. Rather than "Unknown OS", the About box's Host
// line then names the kernel and its release as detected, e.g. "Linux 6.1.0"; "Unknown OS"
// remains for a WINOTHER host that gave no name. Any other unknown family leaves both values
// alone (WIN30 from creation).
//
// No operation throws: failing system queries leave "unknown" or 0 and a text in ErrorStatus.
class TMAXIM {
public:
    using ErrorStatusHandler = std::function<void(TMAXIM& sender)>;
    using AboutBoxPresenter = std::function<bool(const TAboutBoxContent&)>;

    // Null queries: the platform's own (LinuxSystemQueries without display hooks).
    explicit TMAXIM(std::shared_ptr<ISystemQueries> queries = nullptr);
    virtual ~TMAXIM() = default;
    TMAXIM(const TMAXIM&) = delete;
    TMAXIM& operator=(const TMAXIM&) = delete;

    // The end-of-loading step, after the owner has applied its stored values.
    virtual void Loaded();
    // The design-time information entry ("About" property).
    virtual std::string AboutMessage() const;

    // Asked of the system at each reading.
    std::string WinDir();
    std::string SysDir();
    int NumColours();
    int ScreenWidth();
    int ScreenHeight();
    // Detected afresh at each reading.
    ostype WinOperatingSystem();
    TPlatFormIDType WinPlatFormID();
    std::string WinVersion();
    std::string WinVerExtraInfo();
    // Detected at creation.
    bool WinIsNetEnabled() const { return netEnabled_; }

    const std::string& ErrorStatus() const { return errorStatus_; }
    void SetErrorStatus(const std::string& text);
    void SetOnErrorStatus_Change(ErrorStatusHandler handler) {
        onErrorStatusChange_ = std::move(handler);
    }
    bool EnableErrorEvent() const { return enableErrorEvent_; }
    void SetEnableErrorEvent(bool enable) { enableErrorEvent_ = enable; }

    TDebugModeType DebugMode() const { return debugMode_; }
    void SetDebugMode(TDebugModeType mode) { debugMode_ = mode; }
    TSplashBoxType SplashBoxColour() const { return splashBoxColour_; }
    void SetSplashBoxColour(TSplashBoxType colour) { splashBoxColour_ = colour; }
    TSplashBoxWaitType SplashBoxDelay() const { return splashBoxDelay_; }
    void SetSplashBoxDelay(TSplashBoxWaitType delay) { splashBoxDelay_ = delay; }
    bool ShowProgressForm() const { return showProgressForm_; }
    void SetShowProgressForm(bool show) { showProgressForm_ = show; }
    DType aDistribution() const { return distribution_; }
    void SetaDistribution(DType distribution) { distribution_ = distribution; }

    // The descriptive texts: each setter stores only a text that differs from the current one.
    const std::string& StringTag() const { return stringTag_; }
    void SetStringTag(const std::string& text) { Store(stringTag_, text); }
    const std::string& aLastEditDate() const { return lastEditDate_; }
    void SetaLastEditDate(const std::string& text) { Store(lastEditDate_, text); }
    const std::string& aCopyright() const { return copyright_; }
    void SetaCopyright(const std::string& text) { Store(copyright_, text); }
    const std::string& aVersion() const { return version_; }
    void SetaVersion(const std::string& text) { Store(version_, text); }
    const std::string& aDesigner() const { return designer_; }
    void SetaDesigner(const std::string& text) { Store(designer_, text); }
    const std::string& aProjectName() const { return projectName_; }
    void SetaProjectName(const std::string& text) { Store(projectName_, text); }
    const std::string& aProjectCode() const { return projectCode_; }
    void SetaProjectCode(const std::string& text) { Store(projectCode_, text); }
    const std::string& aMyCompany() const { return myCompany_; }
    void SetaMyCompany(const std::string& text) { Store(myCompany_, text); }
    const std::string& aClientCompany() const { return clientCompany_; }
    void SetaClientCompany(const std::string& text) { Store(clientCompany_, text); }
    const std::string& aProgrammer() const { return programmer_; }
    void SetaProgrammer(const std::string& text) { Store(programmer_, text); }
    const std::string& aProjectLeader() const { return projectLeader_; }
    void SetaProjectLeader(const std::string& text) { Store(projectLeader_, text); }
    const std::string& aDescription() const { return description_; }
    void SetaDescription(const std::string& text) { Store(description_, text); }
    const std::string& aProductname() const { return productName_; }
    void SetaProductname(const std::string& text) { Store(productName_, text); }

    // The About box: its texts from the record and the family last detected.
    TAboutBoxContent AboutBoxContent() const;
    // The front end (Qt dialog or text front end) that shows the box modally.
    void SetAboutBoxPresenter(AboutBoxPresenter presenter) {
        aboutBoxPresenter_ = std::move(presenter);
    }
    // True only when the box was closed with OK; false too when no front end is attached.
    bool ShowAboutBox();

    // The About box's name of an operating-system family.
    static std::string OperatingSystemName(ostype family);

protected:
    ISystemQueries& Queries() { return *queries_; }

private:
    static void Store(std::string& field, const std::string& text) {
        if (field != text) field = text;
    }
    void DetectSystem();

    std::shared_ptr<ISystemQueries> queries_;
    ErrorStatusHandler onErrorStatusChange_;
    AboutBoxPresenter aboutBoxPresenter_;

    std::string errorStatus_;
    ostype osType_ = ostype::WIN30;
    TPlatFormIDType platformId_ = TPlatFormIDType::WIN32S_ON_WIN31;
    std::string winVersion_;
    std::string winVerExtraInfo_;
    std::string hostName_;
    bool netEnabled_ = false;

    TDebugModeType debugMode_ = TDebugModeType::OFF;
    std::string stringTag_ = "AnyString";
    std::string lastEditDate_;
    std::string copyright_;
    std::string version_ = "0.01";
    std::string designer_ = "Undefined";
    std::string projectName_;
    std::string projectCode_ = "Undefined";
    std::string myCompany_ = "My Company";
    std::string clientCompany_ = "Undefined";
    std::string programmer_ = "Undefined";
    std::string projectLeader_ = "Undefined";
    DType distribution_ = DType::MULTIDIST;
    std::string description_ = "Program Description String";
    std::string productName_ = "Undefined";
    bool enableErrorEvent_ = false;
    TSplashBoxType splashBoxColour_ = TSplashBoxType::WHITE;
    TSplashBoxWaitType splashBoxDelay_ = TSplashBoxWaitType::MEDIUM;
    bool showProgressForm_ = false;
};
