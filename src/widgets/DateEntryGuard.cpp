#include "widgets/DateEntryGuard.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>

CDateEntryGuard::CDateEntryGuard(QObject* parent)
    : QObject(parent)
{ }

void CDateEntryGuard::Watch(QDateEdit* edit)
{
    m_edits.append(edit);
    edit->installEventFilter(this);
}

bool CDateEntryGuard::eventFilter(QObject* watched, QEvent* event)
{
    auto* edit = qobject_cast<QDateEdit*>(watched);
    if (edit && m_edits.contains(edit)) {
        switch (event->type()) {
        case QEvent::FocusIn:
            m_rejected.remove(edit); // a new entry
            break;
        case QEvent::FocusOut:
            // The edit puts back its last valid date on leaving an incomplete one: remember
            // what was typed, so that OK does not go on silently with the old date.
            if (!edit->hasAcceptableInput())
                m_rejected.insert(edit, edit->text());
            break;
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !edit->hasAcceptableInput())
                m_rejected.insert(edit, edit->text());
            // Typing over a selection of the whole date: the edit would refuse the keys of the
            // first field and keep its day; the typing starts in the first field instead.
            const QString text = key->text();
            auto* line = edit->findChild<QLineEdit*>();
            if (!text.isEmpty() && text.front().isPrint() && line && line->hasSelectedText()
                && line->selectedText().size() > edit->sectionText(edit->currentSection()).size()
                && edit->sectionCount() > 0) {
                // Over an incomplete text the fields have no place yet: the last valid date first.
                if (!edit->hasAcceptableInput())
                    line->setText(edit->locale().toString(edit->date(), edit->displayFormat()));
                edit->setCurrentSectionIndex(0);
                edit->setSelectedSection(edit->sectionAt(0));
            }
            // A separator typed right after a field that filled up: the edit has moved on to
            // the next field already, so the separator must not move it once more.
            if (line && text.size() == 1 && !text.front().isLetterOrNumber()) {
                const qsizetype at
                    = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
                if (at > 0 && at <= line->text().size() && line->text().at(at - 1) == text.front())
                    return true;
            }
            break;
        }
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

bool CDateEntryGuard::Check(QWidget* parent)
{
    for (QDateEdit* edit : std::as_const(m_edits)) {
        QString typed;
        if (!edit->hasAcceptableInput())
            typed = edit->text();
        else if (const auto it = m_rejected.constFind(edit); it != m_rejected.constEnd())
            typed = it.value();
        else
            continue;
        m_rejected.remove(edit);
        QMessageBox::warning(parent, parent->windowTitle(),
            QCoreApplication::translate("CDateEntryGuard",
                "\"%1\" is not a valid date. Enter the date as %2, for example %3, or pick it "
                "from the calendar.")
                .arg(typed, edit->displayFormat(),
                    edit->locale().toString(QDate::currentDate(), edit->displayFormat())));
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
        return false;
    }
    return true;
}
