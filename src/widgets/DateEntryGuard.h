#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

class QDateEdit;
class QWidget;

// Watches date fields for typed text that the field did not take (it puts back its last valid
// date when it is left with an incomplete one). Check tells the operator, focuses the field and
// returns false when such text is pending or a field's text is not a valid date.
class CDateEntryGuard : public QObject
{
public:
    explicit CDateEntryGuard(QObject* parent);
    void Watch(QDateEdit* edit);
    bool Check(QWidget* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QDateEdit*> m_edits;
    QHash<QDateEdit*, QString> m_rejected;
};
