#include "desktop/QtEffects.h"

#include <QApplication>
#include <QDesktopServices>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QUrl>

#include "desktop/AgreementDialog.h"
#include "desktop/CopyBox.h"
#include "desktop/DamRenDialog.h"
#include "desktop/FocusMarkStyle.h"
#include "desktop/MainWindow.h"
#include "desktop/MarketReportDialog.h"
#include "desktop/PoliceDialog.h"
#include "desktop/RulesDialog.h"
#include "desktop/SoundModule.h"
#include "desktop/SplashWindow.h"
#include "desktop/WidgetHelpers.h"
#include "engine/World.h"

namespace {

QString ApplicationTitle() {
    return QString::fromUtf8(kApplicationTitle);
}

// A text whose columns are separated by tabs (the hi-score table) laid out as a table, so that
// every column lines up however wide the names in it are: each run of tabs moves to the next
// column, and a line without a tab spans the whole table.
QString TabsAsTable(const QString& text) {
    static const QRegularExpression tabs(QStringLiteral("\t+"));
    QList<QStringList> rows;
    qsizetype columns = 1;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        rows.append(line.split(tabs));
        columns = std::max(columns, rows.back().size());
    }
    QString html = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"0\">");
    for (const QStringList& cells : rows) {
        html += QStringLiteral("<tr>");
        for (qsizetype c = 0; c < cells.size(); ++c) {
            const QString cell = cells[c].trimmed().toHtmlEscaped();
            const qsizetype span = c + 1 == cells.size() ? columns - c : 1;
            html += QStringLiteral("<td colspan=\"%1\" style=\"padding-right: 12px\">%2</td>")
                        .arg(span)
                        .arg(cell.isEmpty() ? QStringLiteral("&nbsp;") : cell);
        }
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

int ShowMessage(QMessageBox::Icon icon, const QString& caption, const std::string& text,
                QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton,
                QWidget* parent) {
    const QString shown = sidewindows::DisplayText(text);
    QMessageBox box(icon, caption, shown, buttons, parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    if (shown.contains(QLatin1Char('\t'))) {
        box.setTextFormat(Qt::RichText);
        box.setText(TabsAsTable(shown));
    }
    box.setDefaultButton(defaultButton);
    return box.exec();
}

}  // namespace

QtEffects::QtEffects() : sound_(std::make_unique<SoundModule>()) {
    FocusMarkStyle::Install();
    clock_.start();
}
QtEffects::~QtEffects() = default;

void QtEffects::SetWindows(const Windows& windows) {
    splash_ = windows.splash;
    agreement_ = windows.agreement;
    rules_ = windows.rules;
    main_ = windows.main;
    chooser_ = windows.chooser;
    police_ = windows.police;
    report_ = windows.report;
}

void QtEffects::BuildWindows() {
    if (buildWindows_) buildWindows_();
}

bool QtEffects::MayShow(const std::string& what) {
    if (!headless_) return true;
    if (headlessRequest_.empty()) headlessRequest_ = what;
    return false;
}

QWidget* QtEffects::DialogParent() const {
    if (QWidget* active = QApplication::activeWindow()) return active;
    for (QWidget* candidate :
         {static_cast<QWidget*>(main_.data()), static_cast<QWidget*>(splash_.data())})
        if (candidate != nullptr && candidate->isVisible()) return candidate;
    return nullptr;
}

void QtEffects::SyncMainWindow() {
    if (main_) main_->sync();
}

void QtEffects::Information(const std::string& text) {
    if (!MayShow("message box: " + text)) return;
    SyncMainWindow();
    ShowMessage(QMessageBox::Information, ApplicationTitle(), text, QMessageBox::Ok,
                QMessageBox::Ok, DialogParent());
}

void QtEffects::Error(const std::string& caption, const std::string& text) {
    if (!MayShow("error box: " + text)) return;
    SyncMainWindow();
    ShowMessage(QMessageBox::Critical, QString::fromStdString(caption), text, QMessageBox::Ok,
                QMessageBox::Ok, DialogParent());
}

bool QtEffects::YesNo(const std::string& question) {
    if (!MayShow("question: " + question)) return false;
    SyncMainWindow();
    return ShowMessage(QMessageBox::Question, ApplicationTitle(), question,
                       QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes,
                       DialogParent()) == QMessageBox::Yes;
}

bool QtEffects::Input(const std::string& caption, const std::string& prompt, std::string& text,
                      int maxLength) {
    if (!MayShow("input box: " + prompt)) return false;
    SyncMainWindow();
    QInputDialog dialog(DialogParent());
    dialog.setObjectName(QStringLiteral("InputBox"));
    dialog.setWindowTitle(QString::fromStdString(caption));
    dialog.setLabelText(sidewindows::DisplayText(prompt));
    dialog.setInputMode(QInputDialog::TextInput);
    // The dialog offers no length limit of its own; its line edit does.
    if (auto* edit = dialog.findChild<QLineEdit*>()) {
        edit->setMaxLength(maxLength);
        edit->setObjectName(QStringLiteral("InputBoxEdit"));
    }
    dialog.setTextValue(QString::fromStdString(text));
    if (dialog.exec() != QDialog::Accepted) return false;
    text = dialog.textValue().toStdString();
    return true;
}

void QtEffects::ShowCopyable(const std::string& caption, const std::string& text,
                             const std::string& copy, const std::string& copyCaption,
                             const std::string& /*link: the page's own*/, Done done) {
    if (MayShow("copy box: " + copy)) {
        SyncMainWindow();
        CopyBox box(QString::fromStdString(caption), sidewindows::DisplayText(text),
                    QString::fromStdString(copy), QString::fromStdString(copyCaption),
                    DialogParent());
        box.exec();
    }
    if (done) done();
}

bool QtEffects::ShowModal(Modal window) {
    static constexpr const char* kNames[] = {"agreement", "rules", "chooser", "police",
                                             "market report"};
    if (!MayShow(std::string("modal window: ") + kNames[static_cast<int>(window)])) return false;
    BuildWindows();
    SyncMainWindow();
    switch (window) {
        case Modal::Agreement:
            if (auto* agreement = agreement_.data()) return agreement->exec() == QDialog::Accepted;
            return false;
        case Modal::Rules:
            if (auto* rules = rules_.data()) {
                rules->sync();
                return rules->exec() == QDialog::Accepted;
            }
            return false;
        case Modal::DamRen:
            if (auto* chooser = chooser_.data()) {
                chooser->sync();
                return chooser->exec() == QDialog::Accepted;
            }
            return false;
        case Modal::Police:
            if (auto* police = police_.data()) {
                police->sync();
                police->exec();
                return true;
            }
            return false;
        case Modal::MarketReport:
            if (auto* report = report_.data()) {
                report->exec();
                return true;
            }
            return false;
    }
    return false;
}

void QtEffects::ShowMainWindow() {
    BuildWindows();
    MainWindow* main = main_.data();
    if (main == nullptr) return;
    main->sync();
    main->show();
    // The game window takes the keyboard at once, so Esc, the function keys and the Alt
    // accelerators work without a click first (the splash that had it is about to hide).
    main->raise();
    main->activateWindow();
}

void QtEffects::HideSplash() {
    if (splash_) splash_->hide();
}

void QtEffects::MainTimerChanged() {
    if (main_) main_->applyMainTimer();
}

std::int64_t QtEffects::Now() {
    return clock_.elapsed();
}

void QtEffects::Announce(const std::string& text) {
    if (main_) main_->announce(text);
}

IEffects::SoundResult QtEffects::PlaySound(const std::string& name, bool wait) {
    return sound_->play(name, wait);
}

bool QtEffects::SoundDeviceWorks() {
    return sound_->deviceWorks();
}

bool QtEffects::OpenUrl(const std::string& url) {
    if (!MayShow("web page: " + url)) return false;
    return QDesktopServices::openUrl(QUrl::fromEncoded(QByteArray::fromStdString(url)));
}

void QtEffects::ProcessEvents() {
    // Up to date before the pending paints, and again after any events that changed state.
    SyncMainWindow();
    QCoreApplication::processEvents();
    SyncMainWindow();
}

void QtEffects::Quit() {
    if (main_) main_->hide();
    if (splash_) splash_->close();
    // Closing the hidden splash alone would not end the event loop while other windows show.
    QCoreApplication::quit();
}
