#include "ui/partspanel.h"

#include "job/gluejob.h"
#include "ui/columnroom.h"
#include "ui/parttablemodel.h"
#include "ui/plaintextlines.h"
#include "ui/wordtablemodel.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QTableView *makeTable(const QString &name)
{
    auto *table = new QTableView;
    table->setObjectName(name);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

QPushButton *makeButton(const QString &name, const QString &text, QHBoxLayout *row)
{
    auto *button = new QPushButton(text);
    button->setObjectName(name);
    row->addWidget(button);
    return button;
}

} // namespace

PartsPanel::PartsPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("paParts"));
    setAcceptDrops(true);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);

    auto *buttons = new QHBoxLayout;
    QPushButton *btAdd = makeButton(QStringLiteral("btAddPart"), QStringLiteral("&Add..."), buttons);
    btRemove = makeButton(QStringLiteral("btRemovePart"), QStringLiteral("&Remove"), buttons);
    btUp = makeButton(QStringLiteral("btMovePartUp"), QStringLiteral("Move &up"), buttons);
    btDown = makeButton(QStringLiteral("btMovePartDown"), QStringLiteral("Move &down"), buttons);
    buttons->addStretch();
    column->addLayout(buttons);

    auto *split = new QSplitter(Qt::Vertical);
    sgParts = makeTable(QStringLiteral("sgParts"));
    sgParts->setSelectionBehavior(QAbstractItemView::SelectRows);
    sgParts->setSelectionMode(QAbstractItemView::SingleSelection);
    split->addWidget(sgParts);
    auto *selected = new QSplitter(Qt::Horizontal);
    sgPartWords = makeTable(QStringLiteral("sgPartWords"));
    mePartText = new QPlainTextEdit;
    mePartText->setObjectName(QStringLiteral("mePartText"));
    mePartText->installEventFilter(this); // leaving an edited text commits it
    selected->addWidget(sgPartWords);
    selected->addWidget(mePartText);
    split->addWidget(selected);
    column->addWidget(split, 1);

    chooseFiles = [this] {
        return QFileDialog::getOpenFileNames(
            this, QStringLiteral("Add a part: its word file, text and recording"), QString(),
            QStringLiteral("Files of a part (*.ctm *.spk *.json *.TextGrid *.textgrid *.eaf *.vtt *.txt *.wav *.mp3 *.m4a *.flac *.opus *.ogg);;"
                           "Lists of parts (*.tsv);;All files (*)"));
    };
    connect(btAdd, &QPushButton::clicked, this, [this] {
        const QStringList paths = chooseFiles();
        if (!paths.isEmpty())
            addFiles(paths);
    });
    connect(btRemove, &QPushButton::clicked, this, [this] {
        const int part = selectedPart();
        run([this, part](GlueJob &j) {
            if (!removeGuard || removeGuard(j))
                j.removePart(part);
        });
    });
    connect(btUp, &QPushButton::clicked, this, [this] { moveSelected(-1); });
    connect(btDown, &QPushButton::clicked, this, [this] { moveSelected(1); });
}

PartsPanel::~PartsPanel()
{
    setJob(nullptr, {});
}

void PartsPanel::setJob(GlueJob *newJob, Runner runCommand)
{
    sgParts->setModel(nullptr);
    sgPartWords->setModel(nullptr);
    partModel.reset();
    wordModel.reset();
    job = newJob;
    runner = std::move(runCommand);
    shownPart = -1;
    if (!job)
        return;
    partModel = std::make_unique<PartTableModel>(*job);
    wordModel = std::make_unique<WordTableModel>(*job, WordTable::Main);
    wordModel->showPart(-1); // no part selected: no rows
    sgParts->setModel(partModel.get());
    sgPartWords->setModel(wordModel.get());
    // The file names and the words take the room; numbers keep their width.
    giveRoomTo(sgParts, {PartRow::WordFile, PartRow::Text, PartRow::Recording});
    giveRoomTo(sgPartWords, {WordRow::Text});
    connect(sgParts->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { showSelectedPart(); });
    // A closed cell editor is a committed edit: after Glue the derived views follow it.
    connect(sgPartWords->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
            [this] { run([](GlueJob &j) { j.rebuildDerived(); }); }, Qt::QueuedConnection);
    refresh();
}

void PartsPanel::run(const std::function<void(GlueJob &)> &command)
{
    if (job && runner)
        runner(command);
}

void PartsPanel::jobChanged()
{
    if (refreshQueued || !job)
        return;
    refreshQueued = true;
    QTimer::singleShot(0, this, [this] {
        refreshQueued = false;
        refresh();
    });
}

void PartsPanel::refresh()
{
    if (!job)
        return;
    partModel->refresh();
    const int count = job->partCount();
    const int part = selectedPart();
    btRemove->setEnabled(part >= 0);
    btUp->setEnabled(part > 0);
    btDown->setEnabled(part >= 0 && part + 1 < count);
    showSelectedPart();
}

int PartsPanel::selectedPart() const
{
    if (!job || !sgParts->selectionModel())
        return -1;
    const int row = sgParts->selectionModel()->currentIndex().row();
    return row < job->partCount() ? row : -1;
}

void PartsPanel::selectPart(int index)
{
    if (!partModel || index < 0 || index >= partModel->rowCount())
        return;
    sgParts->selectionModel()->setCurrentIndex(partModel->index(index, 0),
                                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

// The selected part's words and text; a text being edited stays as typed.
void PartsPanel::showSelectedPart()
{
    if (!job)
        return;
    const int part = selectedPart();
    btRemove->setEnabled(part >= 0);
    btUp->setEnabled(part > 0);
    btDown->setEnabled(part >= 0 && part + 1 < job->partCount());
    wordModel->showPart(part);
    if (part == shownPart && mePartText->document()->isModified())
        return;
    const bool another = part != shownPart;
    shownPart = part;
    if (another)
        emit selectedPartChanged(part);
    mePartText->setReadOnly(part < 0);
    mePartText->setPlainText(part < 0 ? QString() : job->partText(part).join(u'\n'));
    mePartText->document()->setModified(false);
}

void PartsPanel::writeEditsBack()
{
    if (!job || shownPart < 0 || !mePartText->document()->isModified())
        return;
    mePartText->document()->setModified(false);
    job->setPartText(shownPart, linesOf(mePartText));
}

void PartsPanel::addFiles(const QStringList &paths)
{
    run([paths](GlueJob &j) { j.addPartFiles(paths); });
    if (!job)
        return;
    partModel->refresh();
    selectPart(job->partCount() - 1);
    refresh();
}

void PartsPanel::moveSelected(int step)
{
    const int part = selectedPart();
    if (part < 0 || !job || part + step < 0 || part + step >= job->partCount())
        return;
    run([part, step](GlueJob &j) { j.movePart(part, part + step); });
    partModel->refresh();
    selectPart(part + step);
}

void PartsPanel::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void PartsPanel::dropEvent(QDropEvent *event)
{
    QStringList paths;
    for (const QUrl &url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    addFiles(paths);
}

bool PartsPanel::eventFilter(QObject *object, QEvent *event)
{
    if (object == mePartText && event->type() == QEvent::FocusOut && mePartText->document()->isModified())
        run([](GlueJob &j) { j.rebuildDerived(); }); // the window writes the text back first
    return QWidget::eventFilter(object, event);
}
