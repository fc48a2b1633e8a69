#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QWidget>

class QLabel;
class QPushButton;
class TRealtopia;

class PanelWidget;

// The splash window (Tsplash, instance `splash`): the application's main window, from which
// the game is entered. Closing it ends the program; after a successful entry it stays hidden.
//
// Everything on it but its two buttons never changes, so the build draws that once
// (tools/render_splash) at one and at two device pixels a pixel, with the labels' places as
// their texts fitted them: the splash then shows that picture and places its labels without
// opening a font for them or measuring a text. The labels are still there, with their texts,
// for the keyboard and the screen reader; only their drawing comes from the picture. Where
// the picture is missing or made for another pixel ratio, everything is drawn as usual.
class SplashWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = 477;
    static constexpr int kHeight = 358;
    // Where the program keeps the picture: PREFIX.argb, PREFIX@2x.argb and PREFIX.places.
    static constexpr const char* kPicturePrefix = ":/splash";

    explicit SplashWindow(TRealtopia& app, QWidget* parent = nullptr,
                          const QString& picturePrefix = QString::fromLatin1(kPicturePrefix));

    // The splash without its buttons, drawn afresh at `pixelRatio` device pixels a pixel (the
    // build runs at that scale, so the logo and the texts are as such a screen shows them),
    // and the labels' places ("name x y width height" lines): what the build keeps.
    QImage drawPicture(qreal pixelRatio);
    QByteArray labelPlaces() const;
    // Whether the labels were placed from a kept picture's places, and whether the last
    // drawing of the window came from that picture.
    bool placedFromPicture() const { return placedFromPicture_; }
    bool drawnFromPicture() const { return drawnFromPicture_; }

signals:
    // The window is being drawn for the first time. Connected with a queued connection (or
    // a zero timer), a receiver runs once the drawing is on the screen.
    void firstPainted();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FitLabels();
    bool PlaceLabels(const QByteArray& places);
    const QImage* Picture(qreal pixelRatio);

    TRealtopia& app_;
    PanelWidget* Panel1_ = nullptr;
    QLabel* Image1_ = nullptr;
    QLabel* lbl_TitleShadow_ = nullptr;
    QLabel* lbl_title_ = nullptr;
    QLabel* lbllink_Careerly_ = nullptr;
    QLabel* lbl_version_ = nullptr;
    QLabel* lbl_brightwork_ = nullptr;
    QPushButton* cmd_play_ = nullptr;
    QPushButton* cmd_NewUser_ = nullptr;
    bool painted_ = false;
    QString picturePrefix_;
    bool placedFromPicture_ = false;
    bool drawnFromPicture_ = false;
    bool drawingPicture_ = false;
    QImage picture_;  // the kept picture last asked for, at its pixel ratio
    qreal pictureRatio_ = 0;
};
