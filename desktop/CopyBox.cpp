#include "desktop/CopyBox.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CopyBox::CopyBox(const QString& caption, const QString& text, const QString& copy,
                 const QString& copyCaption, QWidget* parent)
    : QDialog(parent), line_(new QLineEdit(copy, this)), copy_(new QPushButton(copyCaption, this)) {
    setObjectName(QStringLiteral("CopyBox"));
    setWindowTitle(caption);
    auto* label = new QLabel(text, this);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    line_->setObjectName(QStringLiteral("CopyBoxText"));
    line_->setReadOnly(true);
    line_->selectAll();
    copy_->setObjectName(QStringLiteral("CopyBoxCopy"));
    copy_->setAutoDefault(false);
    connect(copy_, &QPushButton::clicked, this, [this] {
        QGuiApplication::clipboard()->setText(line_->text());
        line_->selectAll();
        line_->setFocus();
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addWidget(line_, 1);
    row->addWidget(copy_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(row);
    layout->addWidget(buttons);
    line_->setFocus();
}
