#include "platform/DialogItems.h"

#include <QAbstractButton>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QWidget>

namespace platform {

namespace {
// Index of a root's controls by id, kept as a hidden child of the root. Profile windows address their
// controls on every value they show, so a search of the whole widget tree each time would dominate.
class ControlIndex : public QObject {
public:
    explicit ControlIndex(QWidget* root) : QObject(root) {
        setObjectName(QStringLiteral("platform.ControlIndex"));
    }

    QWidget* find(const QWidget* root, UINT id) {
        const auto known = m_controls.constFind(id);
        if (known != m_controls.cend() && *known && (*known)->property(kControlIdProperty).toUInt() == id)
            return *known;
        rebuild(root);
        return m_controls.value(id);
    }

private:
    void rebuild(const QWidget* root) {
        m_controls.clear();
        const auto children = root->findChildren<QWidget*>();
        for (QWidget* child : children) {
            bool ok = false;
            const UINT childId = child->property(kControlIdProperty).toUInt(&ok);
            if (ok && !m_controls.contains(childId))
                m_controls.insert(childId, child);
        }
    }

    QHash<UINT, QPointer<QWidget>> m_controls; // the first control with each id
};
} // namespace

QWidget* GetDlgItem(const QWidget* root, UINT id) {
    if (!root)
        return nullptr;
    auto* index =
        root->findChild<ControlIndex*>(QStringLiteral("platform.ControlIndex"), Qt::FindDirectChildrenOnly);
    if (!index)
        index = new ControlIndex(const_cast<QWidget*>(root));
    return index->find(root, id);
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
