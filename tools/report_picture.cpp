// report_picture: plays a seeded game for a few years with a simple player and saves a picture
// of the Market Report, off the screen. Made for the README's screenshot.
//
//   report_picture OUT.png [YEARS] [SCALE] [SEED]
//
// YEARS: whole years played (5 unless given); SCALE: device pixels per logical pixel (1);
// SEED: the game's random seed (3, a game with a boom and a slump for everyone).

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "desktop/MarketReportDialog.h"
#include "support/QuietEffects.h"
#include "windows/TRealtopia.h"

namespace {

// Buys the first `count` properties on sale in the area shown, as far as the cash goes.
void BuyFirst(Tmainform& form, int count) {
    for (int i = 0; i < count && !form.View().Avail.Rows.empty(); ++i) {
        form.ListMouseUp(TList::Avail, {0});
        if (form.Game().State().Cash < form.Game().State().BuyTotal) return;
        form.Invoke(TCommand::KeyF6);
    }
}

// Sells the first property of the portfolio.
void SellFirst(Tmainform& form) {
    if (form.View().Portfolio.Rows.empty()) return;
    form.ListMouseUp(TList::Portfolio, {0});
    form.Invoke(TCommand::KeyF6);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: report_picture OUT.png [YEARS] [SCALE] [SEED]\n", stderr);
        return 2;
    }
    const int years = argc > 2 ? std::atoi(argv[2]) : 5;
    const double scale = argc > 3 ? std::atof(argv[3]) : 1.0;
    const std::uint64_t seed = argc > 4 ? std::strtoull(argv[4], nullptr, 10) : 3;
    if (years < 0 || years > 9 || scale <= 0) {
        std::fputs("report_picture: YEARS 0 to 9, SCALE above 0\n", stderr);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    QTemporaryDir dir;
    TPlatform platform;
    platform.ProgramPath = dir.filePath(QStringLiteral("realtopia")).toStdString();
    platform.FirstArgument = "noini";
    platform.UserDataDirectory = dir.path().toStdString();
    platform.Seed = seed;
    QuietEffects effects;
    TRealtopia app(effects, platform);
    app.cmd_playClick();
    Tmainform& form = app.mainform;
    form.Invoke(TCommand::Start);

    // The player moves to another area every half year, sells the oldest property and buys
    // what the cash allows there.
    for (int month = 0; month < years * 12; ++month) {
        if (month % 6 == 0) {
            form.Invoke(AreaCommand(month / 6 % kAreaCount + 1));
            if (month > 0) SellFirst(form);
            BuyFirst(form, kPropertiesPerArea);
        }
        form.TimerFired();
    }

    MarketReportDialog dialog(form.Game());
    dialog.show();
    QApplication::processEvents();
    QImage picture(dialog.size() * scale, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(scale);
    picture.fill(Qt::white);
    dialog.render(&picture);
    if (!picture.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "report_picture: cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("saved %s (%d x %d)\n", argv[1], picture.width(), picture.height());
    return 0;
}
