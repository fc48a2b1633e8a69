#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

// A flat panel in the old Windows manner: an optional sunken client edge, an outer and an inner
// bevel one pixel wide with a gap of `borderWidth` pixels between them, a fill colour and an
// optional caption centred on it. Children are placed at absolute positions. A screen reader
// reads a panel as its caption, and one without a caption as a nameless pane.
class PanelWidget : public QWidget {
    Q_OBJECT

public:
    enum class Bevel { None, Lowered, Raised };

    struct Look {
        QColor colour;
        Bevel outer = Bevel::Raised;
        Bevel inner = Bevel::None;
        int borderWidth = 0;
        bool clientEdge = false;  // the sunken two-pixel edge of a "single" border style
    };

    PanelWidget(const Look& look, QWidget* parent);

    void setCaption(const QString& caption);
    QString caption() const { return caption_; }
    // Width of the frame drawn inside the panel's rectangle, in pixels.
    int frameWidth() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Look look_;
    QString caption_;
};
