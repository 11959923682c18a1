#pragma once

#include <QLineEdit>
#include <QTableView>
#include <QTest>

// Types text into the cell at place through the view's own editor and
// commits it with Return, as a person does (the window's tests).
inline void typeIntoCell(QTableView *view, const QModelIndex &place, const QString &text)
{
    view->setCurrentIndex(place);
    view->edit(place);
    auto *editor = qobject_cast<QLineEdit *>(view->indexWidget(place));
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    // The delegate commits and closes its editor from the event loop.
    QTRY_VERIFY(!view->indexWidget(place));
}
