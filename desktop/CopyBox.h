#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// A box with a text, a line to copy (shown selected) beside a Copy button that puts it on the
// clipboard and leaves the box open, and OK. The window logic gives every text.
class CopyBox : public QDialog {
public:
    CopyBox(const QString& caption, const QString& text, const QString& copy,
            const QString& copyCaption, QWidget* parent = nullptr);

    QLineEdit* Line() const { return line_; }
    QPushButton* CopyButton() const { return copy_; }

private:
    QLineEdit* line_;
    QPushButton* copy_;
};
