#pragma once

#include <QPixmap>
#include <QString>
#include <QSvgRenderer>
#include <QWidget>

// A picture drawn from an SVG file, stretched over the whole widget, sharp at any screen scale.
// Transparent where the drawing is; a left click inside it emits clicked().
//
// The SVG is drawn once per size and device pixel ratio into a kept picture, which every
// paint places; only a new size, ratio or file draws it again. A picture the build drew
// already (setReadyPictures) is used instead where its size and ratio fit.
class SvgPicture : public QWidget {
    Q_OBJECT

public:
    SvgPicture(const QString& path, QWidget* parent);

    void setPath(const QString& path);
    QString path() const { return path_; }
    bool isLoaded() const { return renderer_.isValid(); }
    // Raw pictures (desktop/RawPicture.h) of the widget's fixed size at one and at two device
    // pixels a pixel, drawn from the same SVG by the build.
    void setReadyPictures(const QString& oneX, const QString& twoX);

    // The picture a paint places at `ratio` device pixels a pixel, drawn now if the kept one
    // is not of the widget's size and this ratio.
    const QPixmap& picture(qreal ratio);
    // How many times the SVG has been drawn (for the tests of the kept picture).
    int renderCount() const { return renderCount_; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPixmap draw(QSize pixels, qreal ratio);

    QString path_;
    QSvgRenderer renderer_;
    QString readyOneX_;
    QString readyTwoX_;
    QPixmap picture_;
    int renderCount_ = 0;
    bool pressed_ = false;
};
