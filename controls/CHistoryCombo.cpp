#include "CHistoryCombo.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSettings>

namespace zq {

CHistoryCombo::CHistoryCombo(QWidget* parent)
    : QComboBox(parent)
{
    setEditable(true);
    // The list is the stored history; typing never adds to it until a choice is saved.
    setInsertPolicy(QComboBox::NoInsert);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(20);
    lineEdit()->installEventFilter(this);
    connect(this, &QComboBox::activated, this, [this](int index) {
        const QString path = itemText(index);
        if (!path.isEmpty() && QFileInfo::exists(path))
            emit EntryChosen(path);
    });
}

void CHistoryCombo::LoadHistory(QSettings& settings)
{
    const FolderHistory::Loaded loaded = m_history.Load(settings);
    clear();
    addItems(loaded.entries);
    setEditText(loaded.entries.isEmpty() ? loaded.lastText : loaded.entries.first());
}

void CHistoryCombo::SaveHistory(QSettings& settings)
{
    const QString text = currentText();
    const QStringList merged = m_history.Save(settings, text, Entries());
    clear();
    addItems(merged);
    setEditText(text);
}

QStringList CHistoryCombo::Entries() const
{
    QStringList entries;
    for (int i = 0; i < count(); ++i)
        entries.append(itemText(i));
    return entries;
}

void CHistoryCombo::showPopup()
{
    // The drop-down shows every entry at once.
    setMaxVisibleItems(qMax(1, count()));
    QComboBox::showPopup();
}

bool CHistoryCombo::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lineEdit()) {
        if (event->type() == QEvent::FocusOut) {
            // Opening the drop-down or switching windows does not leave the field.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                ReportEdit();
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            // Return jumps to the typed folder instead of pressing the dialog's default button.
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                ReportEdit();
                return true;
            }
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void CHistoryCombo::ReportEdit()
{
    const QString path = currentText().trimmed();
    if (!path.isEmpty() && QFileInfo::exists(path))
        emit EditLeft(path);
}

} // namespace zq
