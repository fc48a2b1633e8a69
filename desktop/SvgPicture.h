#pragma once

#include <QString>
#include <QSvgRenderer>
#include <QWidget>

// A picture drawn from an SVG file, stretched over the whole widget and drawn as vectors, so it
// stays sharp at any screen scale. Transparent where the drawing is; a left click inside it
// emits clicked().
class SvgPicture : public QWidget {
    Q_OBJECT

public:
    SvgPicture(const QString& path, QWidget* parent);

    void setPath(const QString& path);
    QString path() const { return path_; }
    bool isLoaded() const { return renderer_.isValid(); }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString path_;
    QSvgRenderer renderer_;
    bool pressed_ = false;
};
