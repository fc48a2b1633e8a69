#pragma once

#include <QIcon>
#include <QPushButton>

// A push button with a small picture to the right of its caption, the two centred together.
// The picture is greyed while the button is disabled.
class GlyphButton : public QPushButton {
    Q_OBJECT

public:
    GlyphButton(const QIcon& glyph, QSize glyphSize, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QIcon glyph_;
    QSize glyphSize_;
};
