#include "platform/DialogItems.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>

namespace platform {

QWidget* GetDlgItem(const QWidget* root, UINT id) {
    if (!root)
        return nullptr;
    const auto children = root->findChildren<QWidget*>();
    for (QWidget* child : children) {
        bool ok = false;
        if (child->property(kControlIdProperty).toUInt(&ok) == id && ok)
            return child;
    }
    return nullptr;
}

QString GetDlgItemText(const QWidget* root, UINT id) {
    QWidget* item = GetDlgItem(root, id);
    if (auto* label = qobject_cast<QLabel*>(item))
        return label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(item))
        return edit->text();
    if (auto* text = qobject_cast<QPlainTextEdit*>(item))
        return text->toPlainText();
    if (auto* button = qobject_cast<QAbstractButton*>(item))
        return button->text();
    return {};
}

bool SetDlgItemText(const QWidget* root, UINT id, const QString& text) {
    QWidget* item = GetDlgItem(root, id);
    if (auto* label = qobject_cast<QLabel*>(item)) {
        label->setText(text);
        return true;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(item)) {
        edit->setText(text);
        return true;
    }
    if (auto* plain = qobject_cast<QPlainTextEdit*>(item)) {
        plain->setPlainText(text);
        return true;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(item)) {
        button->setText(text);
        return true;
    }
    return false;
}

} // namespace platform
