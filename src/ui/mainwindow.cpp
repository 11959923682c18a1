#include "ui/mainwindow.h"

#include "base/cancelled.h"
#include "base/error.h"
#include "base/paths.h"
#include "base/version.h"
#include "job/settingstable.h"
#include "ui/columnroom.h"
#include "ui/commandbutton.h"
#include "ui/commandkeys.h"
#include "ui/dropreceiver.h"
#include "ui/editactions.h"
#include "ui/elidedlabel.h"
#include "ui/filedialogs.h"
#include "ui/findbar.h"
#include "ui/helpmenu.h"
#include "ui/icons.h"
#include "ui/interviewfileactions.h"
#include "ui/phrasecolumnwidth.h"
#include "ui/partspanel.h"
#include "ui/phrasetablemodel.h"
#include "ui/plaintextlines.h"
#include "ui/playerbar.h"
#include "ui/tablefollower.h"
#include "ui/recentmenu.h"
#include "ui/recoverycopy.h"
#include "ui/reviewpanel.h"
#include "ui/subtitlecheckpanel.h"
#include "ui/settingspanel.h"
#include "ui/statustexts.h"
#include "ui/steprunner.h"
#include "ui/windowmemory.h"
#include "ui/wordtablemodel.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemModel>
#include <QAction>
#include <QCloseEvent>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableView>
#include <QTextBlock>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <new>
#include <span>
#include <tuple>
#include <utility>

namespace {

constexpr size_t indexOf(TextView view) { return static_cast<size_t>(view); }
constexpr size_t indexOf(StatusLine line) { return static_cast<size_t>(line); }

// Column widths at start, 0 for the style's default.
const std::array<int, WordRow::columnCount> wordColumnWidths{50, 0, 0, 250, 0, 0};
const std::array<int, PhraseRow::columnCount> phraseColumnWidths{33, 103, 103, 53, 583};

void setColumnWidths(QTableView *view, std::span<const int> widths)
{
    QHeaderView *header = view->horizontalHeader();
    for (size_t column = 0; column < widths.size(); ++column)
        if (widths[column] > 0)
            header->resizeSection(static_cast<int>(column),
                                  std::max(widths[column], header->minimumSectionSize()));
}

} // namespace

MainWindow::MainWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("formNaadwerk"));
    setWindowTitle(QStringLiteral("Naadwerk"));
    setWindowIcon(Icons::program());

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // The player has a row of its own under the menu: room for the position
    // slider and for the line that says why nothing plays.
    player = new PlayerBar;
    layout->addWidget(makeHeader());
    layout->addWidget(makeMenu());
    layout->addWidget(player);
    layout->addWidget(makeTabs(), 1);
    layout->addWidget(makeFooter());
    resize(976, 616);
    // Smaller, the window's parts would overlap; larger, the tables and the
    // text views take the room.
    setMinimumSize(976, 616);

    dialogs = std::make_unique<FileDialogs>(this);
    chooser = dialogs.get();
    // The job's start-up already reports status lines and the tab; every
    // widget it talks about exists by now.
    theJob = std::make_unique<GlueJob>(*this);
    recoveryCopy = new RecoveryCopy(*theJob, RecoveryCopy::defaultFolder(), this);
    restoreMemory();

    connectTables();
    connectSettings();
    connectPlayer();
    makeEditActions();
    showJob();
    new DropReceiver(this, [this](const QStringList &paths, const QStringList &reasons) {
        receiveDrop(paths, reasons);
    });
    // Tab walks the settings column by column, then the views, as the tabs
    // show them; the tab bar comes first.
    std::vector<QWidget *> tabOrder = settingsPanel->controls();
    tabOrder.insert(tabOrder.end(),
                    {sgCTM1, sgCTM2, textViews[indexOf(TextView::Text1)], textViews[indexOf(TextView::Text2)], sgSRT,
                     textViews[indexOf(TextView::Subtitles)], textViews[indexOf(TextView::Transcript)],
                     textViews[indexOf(TextView::Log)], reviewPanel->fillButton(), reviewPanel->table()});
    CommandKeys::chain(tabOrder);
}

MainWindow::~MainWindow()
{
    keepMemory();
    // The copy's writer reads a copy of the rows, never the job: it only ends.
    recoveryCopy->waitForWriting();
    // No position reaches the tables while they go.
    player->disconnect(this);
    // The views let go of the models, and the settings controls of the
    // job's settings (every control writes through the panel), before the
    // models and the job go.
    for (QTableView *view : {sgCTM1, sgCTM2, sgSRT})
        view->setModel(nullptr);
    partsPanel->setJob(nullptr, {});
    reviewPanel->setJob(nullptr);
    settingsPanel->setSettings(nullptr);
    // A text view that loses its focus while the window goes runs nothing.
    for (TextView view : {TextView::Text1, TextView::Text2})
        textViews[indexOf(view)]->removeEventFilter(this);
    for (QTableView *view : {sgCTM1, sgCTM2})
        view->itemDelegate()->disconnect(this);
}

void MainWindow::setFileChooser(FileChooser *fileChooser)
{
    chooser = fileChooser ? fileChooser : dialogs.get();
}

// --- Building the window ----------------------------------------------------

QWidget *MainWindow::makeHeader()
{
    auto *header = new QWidget;
    header->setObjectName(QStringLiteral("paHeader"));
    header->setFixedHeight(48);
    auto *grid = new QGridLayout(header);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);

    auto *headerLabel =
        new QLabel(QStringLiteral("Naadwerk V ") + QString::fromLatin1(naadwerkVersion));
    headerLabel->setObjectName(QStringLiteral("HeaderLabel"));
    QFont font = headerLabel->font();
    font.setPointSize(24);
    headerLabel->setFont(font);
    headerLabel->setAlignment(Qt::AlignCenter);
    grid->addWidget(headerLabel, 0, 0);

    auto makeLogo = [&](const QString &name, bool left) {
        auto *image = new QLabel;
        image->setObjectName(name);
        image->setFixedSize(81, 48);
        image->setAlignment(Qt::AlignCenter);
        image->setPixmap(Icons::logo(left).scaled(image->size(), Qt::KeepAspectRatio,
                                                  Qt::SmoothTransformation));
        grid->addWidget(image, 0, 0, left ? Qt::AlignLeft : Qt::AlignRight);
    };
    makeLogo(QStringLiteral("Image2"), true);
    makeLogo(QStringLiteral("Image1"), false);
    return header;
}

QWidget *MainWindow::makeMenu()
{
    // A menu bar of real menus, whose letters show underlined and reach a
    // screen reader; Glue and Save beside it are buttons, which say in their
    // tooltip what is missing while they cannot run.
    auto *bar = new QMenuBar;
    bar->setObjectName(QStringLiteral("mmMenu"));
    bar->setFixedHeight(24);
    bar->setNativeMenuBar(false);
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    bar->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    using Command = std::function<void(GlueJob &)>;
    auto makeItem = [&](const QString &name, const QIcon &icon, const QString &text,
                        Command command, QWidget *parent) {
        auto *item = new QAction(icon, text, parent);
        item->setObjectName(name);
        connect(item, &QAction::triggered, this,
                [this, command = std::move(command)] { runCommand(command); });
        return item;
    };

    // A menu bar shows an item's icon instead of its text: its items have none.
    bar->addAction(makeItem(QStringLiteral("miExit"), QIcon(), tr("E&xit"),
                            [this](GlueJob &job) { exit(job); }, bar));

    auto *list = new QMenu(tr("&Open"), bar);
    list->setObjectName(QStringLiteral("mnOpen"));
    QAction *miOpen = list->menuAction();
    miOpen->setObjectName(QStringLiteral("miOpen"));
    const struct {
        const char *name;
        QString text;
        void (GlueJob::*command)(int, const QString &);
        OpenFilter filter;
        int part;
    } items[] = {
        {"miCTM1", tr("&Word file of part 1..."), &GlueJob::openWordFile, OpenFilter::WordFile, 1},
        {"miCTM2", tr("W&ord file of part 2..."), &GlueJob::openWordFile, OpenFilter::WordFile, 2},
        {"miOpenText1", tr("&Text of part 1..."), &GlueJob::openText, OpenFilter::Text, 1},
        {"miOpenText2", tr("T&ext of part 2..."), &GlueJob::openText, OpenFilter::Text, 2},
        {"miWav1", tr("&Recording of part 1..."), &GlueJob::openRecording, OpenFilter::Recording, 1},
        {"miWav2", tr("Re&cording of part 2..."), &GlueJob::openRecording, OpenFilter::Recording, 2},
    };
    for (const auto &i : items) {
        Command command = [this, open = i.command, filter = i.filter, part = i.part](GlueJob &job) {
            openFile(job, open, filter, part);
        };
        list->addAction(makeItem(QString::fromLatin1(i.name), QIcon(), i.text, std::move(command), list));
    }
    list->addSeparator();
    recentList = new RecentMenu(list, [this](const WindowMemory::Interview &interview) { reopen(interview); });
    list->addMenu(recentList);
    list->addSeparator();
    interviewActions = new InterviewFileActions(
        this, {[this]() -> FileChooser & { return *chooser; },
               [this](const Command &command) { runCommand(command); }, [this](GlueJob &job) { save(job); },
               [this] { showOpenedInterview(); },
               [this](const QString &message) { showNotice(QStringLiteral("interviewNotice"), message); }});
    interviewActions->addTo(list);
    bar->addMenu(list);
    // The Edit menu's actions work on the views made later: its items are
    // filled in then (makeEditActions).
    editMenu = new QMenu(tr("&Edit"), bar);
    editMenu->menuAction()->setObjectName(QStringLiteral("miEdit"));
    bar->addMenu(editMenu);
    bar->addMenu(player->menu());
    HelpMenu::add(bar, this);

    auto *row = new QWidget;
    row->setObjectName(QStringLiteral("paCommands"));
    auto *line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 4, 0);
    line->setSpacing(4);
    line->addWidget(bar);
    // The results: their keys work wherever the focus is in the window.
    for (auto [name, icon, text, command] :
         {std::tuple{QStringLiteral("miGlue"), Icons::arrows(), tr("&Glue"), Command([this](GlueJob &job) { glue(job); })},
          std::tuple{QStringLiteral("miSave"), Icons::disk(), tr("&Save"), Command([this](GlueJob &job) { save(job); })}}) {
        QAction *action = makeItem(name, icon, text, std::move(command), this);
        addAction(action);
        line->addWidget(commandButton(action));
    }
    // The player's line of why nothing plays takes the room the row leaves,
    // so the player's own row keeps its room for the slider.
    line->addSpacing(8);
    line->addWidget(player->messageLine(), 1);
    // With no line shown, the room stays empty.
    line->addStretch();
    CommandKeys::attach(bar, this);
    return row;
}

QTableView *MainWindow::makeTable(const QString &name)
{
    auto *table = new QTableView;
    table->setObjectName(name);
    // A million rows stay fast only when no row or column is measured: fixed
    // row height, no word wrap, no resizing to contents.
    table->setWordWrap(false);
    QHeaderView *rows = table->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(fontMetrics().height() + 6);
    rows->hide();
    QHeaderView *columns = table->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setStretchLastSection(false);
    columns->setHighlightSections(false);
    table->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    return table;
}

QTabWidget *MainWindow::makeTabs()
{
    tcData = new QTabWidget;
    tcData->setObjectName(QStringLiteral("tcData"));

    auto page = [this](const QString &name, QWidget *content) {
        auto *sheet = new QWidget;
        sheet->setObjectName(name);
        auto *fill = new QVBoxLayout(sheet);
        fill->setContentsMargins(0, 0, 0, 0);
        fill->addWidget(content);
        // Every page gets the same rectangle, so the one shown tells how wide
        // the tables are, also those not shown yet.
        sheet->installEventFilter(this);
        return sheet;
    };

    sgCTM1 = makeTable(QStringLiteral("sgCTM1"));
    sgCTM2 = makeTable(QStringLiteral("sgCTM2"));
    sgSRT = makeTable(QStringLiteral("sgSRT"));
    const char *viewNames[textViewCount] = {"meText1", "meText2", "meSRT", "meWord", "meResult"};
    for (size_t i = 0; i < textViews.size(); ++i) {
        textViews[i] = new QPlainTextEdit;
        textViews[i]->setObjectName(QString::fromLatin1(viewNames[i]));
    }
    // The result log is the record of what the commands did: read, not
    // written. The subtitles and the Word-like transcript are made from the
    // words, texts and settings, and are corrected there.
    for (TextView view : {TextView::Log, TextView::Subtitles, TextView::Transcript})
        textViews[indexOf(view)]->setReadOnly(true);
    // Leaving an edited text is a committed edit.
    for (TextView view : {TextView::Text1, TextView::Text2})
        textViews[indexOf(view)]->installEventFilter(this);
    const auto withHint = [this](const QString &name, QWidget *content) {
        auto *box = new QWidget;
        auto *column = new QVBoxLayout(box);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(2);
        auto *hint = new QLabel(tr(
            "Made from the words, the texts and the settings, and made again when they change: "
            "correct words in \"Words (1)\" or \"Words (2)\", texts in \"Text (1)\" or "
            "\"Text (2)\", and the settings on \"Settings\"."));
        hint->setObjectName(name);
        hint->setWordWrap(true);
        hint->setContentsMargins(4, 2, 4, 2);
        column->addWidget(hint);
        column->addWidget(content, 1);
        return box;
    };

    const auto text = [this](TextView view) { return textViews[indexOf(view)]; };
    settingsPanel = new SettingsPanel;
    // The settings scroll where the window is too low to show them all.
    auto *settingsArea = new QScrollArea;
    settingsArea->setObjectName(QStringLiteral("saSettings"));
    settingsArea->setFrameShape(QFrame::NoFrame);
    settingsArea->setWidgetResizable(true);
    settingsArea->setWidget(settingsPanel);
    tcData->addTab(page(QStringLiteral("tiSettings"), settingsArea), Icons::program(), tr("Settings"));
    tcData->addTab(page(QStringLiteral("tiCTM1"), withEmptyHint(QStringLiteral("lbEmptyPart1"), sgCTM1, 1)),
                   Icons::sheet(), tr("Words (1)"));
    tcData->addTab(page(QStringLiteral("tiCTM2"), withEmptyHint(QStringLiteral("lbEmptyPart2"), sgCTM2, 2)),
                   Icons::sheet(), tr("Words (2)"));
    tcData->addTab(page(QStringLiteral("tiText1"), text(TextView::Text1)), tr("Text (1)"));
    tcData->addTab(page(QStringLiteral("tiText2"), text(TextView::Text2)), tr("Text (2)"));
    tcData->addTab(page(QStringLiteral("tiPhrases"), withHint(QStringLiteral("lbPhrasesHint"), sgSRT)), Icons::stack(),
                   tr("Phrases"));
    // The subtitles above, where they break the profile's rules below.
    checkPanel = new SubtitleCheckPanel;
    auto *srtSplit = new QSplitter(Qt::Vertical);
    srtSplit->setObjectName(QStringLiteral("spSRT"));
    srtSplit->addWidget(text(TextView::Subtitles));
    srtSplit->addWidget(checkPanel);
    srtSplit->setStretchFactor(0, 3);
    srtSplit->setStretchFactor(1, 1);
    tcData->addTab(page(QStringLiteral("tiSRT"), withHint(QStringLiteral("lbSRTHint"), srtSplit)), Icons::picture(),
                   tr("SRT"));
    tcData->addTab(page(QStringLiteral("tiWord"), withHint(QStringLiteral("lbWordHint"), text(TextView::Transcript))),
                   Icons::stack(), tr("Transcript"));
    tcData->addTab(page(QStringLiteral("tiResult"), text(TextView::Log)), Icons::twoSheets(), tr("Log"));
    partsPanel = new PartsPanel;
    tcData->addTab(page(QStringLiteral("tiParts"), partsPanel), Icons::sheet(), tr("Parts"));
    reviewPanel = new ReviewPanel;
    tcData->addTab(page(QStringLiteral("tiReview"), reviewPanel), Icons::stack(), reviewPanel->caption());
    return tcData;
}

QWidget *MainWindow::withEmptyHint(const QString &name, QTableView *table, int part)
{
    // A label in the page, above the table, while the part has no words:
    // the first step is on the screen, and a screen reader reads it.
    auto *box = new QWidget;
    auto *column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto *hint = new QLabel(
        tr("Open the word file, text and recording of part %1 (Open menu), or drop them here").arg(part));
    hint->setObjectName(name);
    hint->setWordWrap(true);
    hint->setContentsMargins(8, 8, 8, 8);
    column->addWidget(hint);
    column->addWidget(table, 1);
    emptyHints.push_back({hint, table});
    return box;
}

void MainWindow::showEmptyHints()
{
    for (const auto &[hint, table] : emptyHints)
        hint->setVisible(!table->model() || table->model()->rowCount() == 0);
}

QWidget *MainWindow::makeFooter()
{
    auto *footer = new QFrame;
    footer->setObjectName(QStringLiteral("paFooter"));
    footer->setFixedHeight(148);
    auto *column = new QVBoxLayout(footer);
    // 5 above and 2 below each label of 17.
    column->setContentsMargins(10, 5, 10, 2);
    column->setSpacing(7);
    const char *names[statusLineCount] = {"Label1", "Label2", "Label5", "Label6", "Label7", "Label8"};
    for (size_t i = 0; i < statusLabels.size(); ++i) {
        auto *label = new ElidedLabel;
        label->setObjectName(QString::fromLatin1(names[i]));
        label->setFixedHeight(17);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        // Paths are shown as they are, never as markup.
        label->setTextFormat(Qt::PlainText);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        // A long path must not widen the window.
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        column->addWidget(label);
        statusLabels[i] = label;
    }
    column->addStretch();
    return footer;
}

// --- Wiring to the job ------------------------------------------------------

void MainWindow::connectTables()
{
    wordModel1 = std::make_unique<WordTableModel>(*theJob, WordTable::Main);
    wordModel2 = std::make_unique<WordTableModel>(*theJob, WordTable::PartTwo);
    phraseModel = std::make_unique<PhraseTableModel>(*theJob);
    sgCTM1->setModel(wordModel1.get());
    sgCTM2->setModel(wordModel2.get());
    sgSRT->setModel(phraseModel.get());
    // The Parts tab's commands change the list of parts: the corrections
    // before them no longer fit it.
    partsPanel->setJob(theJob.get(), [this](const std::function<void(GlueJob &)> &command) {
        runCommand(command);
        editActions->forgetHistory();
    });
    partsPanel->setRemoveGuard([this](GlueJob &job) { return interviewActions->mayDrop(job); });
    reviewPanel->setJob(theJob.get());
    connect(reviewPanel, &ReviewPanel::fillRequested, this,
            [this] {
                runCommand([this](GlueJob &job) {
                    editActions->record(job.fillUnknownWords(), tr("Fill unknown words"));
                });
            });
    for (WordTableModel *model : {wordModel1.get(), wordModel2.get()})
        model->setCorrectionSink(
            [this](Correction correction) { editActions->record(std::move(correction), tr("Edit a word")); });
    setColumnWidths(sgCTM1, wordColumnWidths);
    setColumnWidths(sgCTM2, wordColumnWidths);
    setColumnWidths(sgSRT, phraseColumnWidths);
    // The words take what the window gives beyond the numbers.
    giveRoomTo(sgCTM1, {WordRow::Text});
    giveRoomTo(sgCTM2, {WordRow::Text});
    for (QTableView *view : {sgCTM1, sgCTM2}) {
        QAbstractItemModel *model = view->model();
        const auto show = [this] { showEmptyHints(); };
        connect(model, &QAbstractItemModel::modelReset, this, show);
        connect(model, &QAbstractItemModel::rowsInserted, this, show);
        connect(model, &QAbstractItemModel::rowsRemoved, this, show);
    }
    showEmptyHints();
    // A closed cell editor is a committed edit: after Glue the derived views
    // follow it. Queued, so the editor is gone before the command runs.
    for (QTableView *view : {sgCTM1, sgCTM2})
        connect(view->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
                [this] { runCommand([](GlueJob &job) { job.rebuildDerived(); }); },
                Qt::QueuedConnection);
}

void MainWindow::connectSettings()
{
    settingsPanel->setSettings(&theJob->settings);
    // A setting the phrases, subtitles and transcript are made with rebuilds
    // them after Glue.
    connect(settingsPanel, &SettingsPanel::settingChanged, this, [this](const QString &key) {
        if (findSetting(key)->shapesViews)
            runCommand([](GlueJob &job) { job.settingsChanged(); });
        if (editActions)
            editActions->settingChanged();
        // The doubtful words' marks follow the confidence setting.
        for (QTableView *view : {sgCTM1, sgCTM2})
            view->viewport()->update();
    });
}

void MainWindow::showReadiness()
{
    if (!theJob)
        return;
    // The job says what is missing; nothing missing, the tooltip says what
    // the command does.
    const auto whyNot = [](const std::function<void()> &check) {
        try {
            check();
        } catch (const Error &e) {
            return e.message();
        }
        return QString();
    };
    const struct {
        const char *name;
        QString missing;
        QString does;
    } commands[] = {
        {"miGlue", whyNot([this] { theJob->checkReadyToGlue(); }),
         tr("Join the parts' recordings, words and texts into one (Ctrl+G)")},
        {"miSave", whyNot([this] { theJob->checkReadyToSave(); }),
         tr("Save the subtitles, word file, text, transcript and karaoke page (Ctrl+S)")},
    };
    for (const auto &command : commands) {
        auto *action = findChild<QAction *>(QString::fromLatin1(command.name), Qt::FindDirectChildrenOnly);
        if (!action)
            continue;
        action->setEnabled(command.missing.isEmpty());
        action->setToolTip(command.missing.isEmpty() ? command.does : command.missing);
    }
}

// Shows the job's state after its start-up: status lines, tab and texts.
void MainWindow::showJob()
{
    for (ElidedLabel *label : statusLabels)
        label->setFullText(QString());
    tcData->setCurrentIndex(static_cast<int>(Tab::WordTable1));
    for (size_t i = 0; i < textViews.size(); ++i)
        showText(static_cast<TextView>(i));
    textsToShow.fill(false);
    showReadiness();
}

void MainWindow::runCommand(const std::function<void(GlueJob &)> &command)
{
    // Dialogs are modal, so no second command can start; this only guards
    // against a command that would be started from inside another.
    if (running)
        return;
    running = true;
    QString message;
    bool failed = false;
    try {
        writeEditsBack();
        noteTableWidth();
        command(*theJob);
    } catch (const Cancelled &) {
        // The person cancelled a step: no change, nothing to say.
    } catch (const Error &e) {
        failed = true;
        message = e.message();
    } catch (const std::bad_alloc &) {
        // Inputs too large for this computer: the command ends, as on any error.
        failed = true;
        message = QStringLiteral("Not enough memory to finish this step.");
    } catch (const std::exception &e) {
        failed = true;
        message = QString::fromLocal8Bit(e.what());
    }
    running = false;
    // A command that failed part-way may have changed rows it had no chance
    // to report.
    syncTables();
    choosePlayerRecording();
    for (size_t i = 0; i < textViews.size(); ++i)
        if (textsToShow[i])
            showText(static_cast<TextView>(i));
    textsToShow.fill(false);
    showReadiness();
    if (failed)
        showError(message);
    if (std::exchange(closeAfterStep, false))
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

// Hands what the person typed to the job: an open cell editor, and every
// text view edited since the job last filled it.
void MainWindow::writeEditsBack()
{
    partsPanel->writeEditsBack();
    for (QTableView *view : {sgCTM1, sgCTM2, sgSRT, partsPanel->wordTable()}) {
        // The view shows no widgets in cells but its editor.
        if (QWidget *editor = view->indexWidget(view->currentIndex())) {
            // Clicking a menu item leaves the editor its focus, so it would not
            // commit by itself before the command reads the cells.
            QMetaObject::invokeMethod(view, "commitData", Q_ARG(QWidget *, editor));
            QMetaObject::invokeMethod(view, "closeEditor", Q_ARG(QWidget *, editor),
                                      Q_ARG(QAbstractItemDelegate::EndEditHint,
                                            QAbstractItemDelegate::NoHint));
        }
    }
    writingBack = true;
    for (size_t i = 0; i < textViews.size(); ++i) {
        QPlainTextEdit *view = textViews[i];
        if (view->isReadOnly() || !view->document()->isModified())
            continue;
        editActions->record(theJob->correctText(static_cast<TextView>(i), linesOf(view)), tr("Edit the text"));
        view->document()->setModified(false);
    }
    writingBack = false;
}

void MainWindow::showText(TextView view)
{
    QPlainTextEdit *edit = textViews[indexOf(view)];
    edit->setPlainText(theJob->text(view).join(u'\n'));
    edit->document()->setModified(false);
    if (view == TextView::Subtitles)
        checkPanel->showCheck(theJob->subtitleCheck(), theJob->settings.profile().name);
}

// Notes the width the tables have: every page has the rectangle of the one
// shown, so a table not shown yet will get that width too.
void MainWindow::noteTableWidth()
{
    if (const QWidget *page = tcData->currentWidget())
        tableWidth = page->width();
}

void MainWindow::fitPhraseTextColumn()
{
    QHeaderView *header = sgSRT->horizontalHeader();
    std::array<int, PhraseRow::Text> others{};
    for (int column = 0; column < PhraseRow::Text; ++column)
        others[static_cast<size_t>(column)] = header->sectionSize(column);
    // A width too small for the style still leaves the column visible.
    const int width = std::max(phraseTextColumnWidth(tableWidth, others), header->minimumSectionSize());
    if (header->sectionSize(PhraseRow::Text) != width)
        header->resizeSection(PhraseRow::Text, width);
}

void MainWindow::syncTables()
{
    if (!theJob)
        return;
    for (WordTable table : {WordTable::Main, WordTable::PartTwo}) {
        WordTableModel *model = wordModel(table);
        if (model && static_cast<size_t>(model->rowCount()) != theJob->wordRows(table).size())
            model->rowsReplaced();
    }
    if (phraseModel && static_cast<size_t>(phraseModel->rowCount()) != theJob->phraseRows().size())
        phraseModel->rowsReplaced();
}

void MainWindow::showError(const QString &message)
{
    QMessageBox box(QMessageBox::Critical, windowTitle(), message, QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("errorMessage"));
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool MainWindow::eventFilter(QObject *object, QEvent *event)
{
    if (event->type() == QEvent::Resize && tcData && object == tcData->currentWidget()) {
        noteTableWidth();
        // On a wider or narrower window the phrases' Text column takes the room.
        if (phraseModel && phraseModel->rowCount() > 0)
            fitPhraseTextColumn();
    }
    if (event->type() == QEvent::FocusOut) {
        for (TextView view : {TextView::Text1, TextView::Text2})
            if (object == textViews[indexOf(view)] && textViews[indexOf(view)]->document()->isModified())
                runCommand([](GlueJob &job) { job.rebuildDerived(); });
    }
    return QWidget::eventFilter(object, event);
}

WordTableModel *MainWindow::wordModel(WordTable table)
{
    return table == WordTable::Main ? wordModel1.get() : wordModel2.get();
}

// --- Commands that ask first ----------------------------------------------------

void MainWindow::openFile(GlueJob &job, void (GlueJob::*open)(int, const QString &), OpenFilter filter, int part)
{
    if (!interviewActions->mayDrop(job))
        return;
    dialogs->setPart(part); // the dialog's title names the part
    const QString path = chooser->chooseFileToOpen(filter);
    if (!path.isEmpty()) // a cancel changes nothing
        (job.*open)(part, path);
}

void MainWindow::glue(GlueJob &job)
{
    job.checkReadyToGlue(); // what is missing is said before the dialog
    const QString proposal = job.proposedJoinedRecording();
    const QString path = chooser->chooseFileToSave(SaveFilter::Recording, folderPart(proposal), fileNamePart(proposal));
    if (path.isEmpty())
        return;
    job.glue(path);
    editActions->glued();
    rememberGlued();
    recoveryCopy->writeNow();
}

void MainWindow::save(GlueJob &job)
{
    job.checkReadyToSave();
    const QString proposal = job.proposedSrtPath();
    const QString path = chooser->chooseFileToSave(SaveFilter::Srt, folderPart(proposal), fileNamePart(proposal));
    if (path.isEmpty())
        return;
    // The interview file goes beside the results, so one Save keeps everything.
    const QString interviewPath = job.proposedInterviewPath();
    // One question names every file Save would replace, not only the SRT.
    QStringList existing = job.savePaths(path, interviewPath);
    existing.removeIf([](const QString &file) { return !QFileInfo::exists(file); });
    if (!existing.isEmpty() && !chooser->confirmReplace(existing))
        return;
    job.save(path, interviewPath);
    editActions->saved();
}

void MainWindow::exit(GlueJob &job)
{
    // Unsaved corrections are asked about first: Save / Discard / Cancel.
    if (interviewActions->mayDrop(job))
        closeRequested();
}

// --- Person -------------------------------------------------------------------

void MainWindow::lineLogged(const QString &line)
{
    textViews[indexOf(TextView::Log)]->appendPlainText(line);
}

void MainWindow::fileOpened(int part, PartFile file)
{
    // New words or a new text: the corrections before them no longer fit.
    if (file != PartFile::Recording && editActions)
        editActions->forgetHistory();
    const auto line = StatusTexts::opened(*theJob, part, file);
    if (!line)
        return;
    statusLabels[indexOf(line->first)]->setFullText(line->second);
    linesShowFiles[static_cast<std::size_t>(part - 1)] = theJob->part(part - 1).files;
    showReadiness();
    // An opened word file or text is shown; a recording leaves the tab.
    if (file == PartFile::WordFile)
        tcData->setCurrentIndex(static_cast<int>(part == 1 ? Tab::WordTable1 : Tab::WordTable2));
    else if (file == PartFile::Text)
        tcData->setCurrentIndex(static_cast<int>(part == 1 ? Tab::Text1 : Tab::Text2));
}

void MainWindow::outputsWritten()
{
    showReadiness();
    const auto lines = StatusTexts::written(theJob->outputs());
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i])
            statusLabels[i]->setFullText(*lines[i]);
}

void MainWindow::glued()
{
    showReadiness();
    tcData->setCurrentIndex(static_cast<int>(Tab::WordTable1));
}

void MainWindow::textChanged(TextView view)
{
    partsPanel->jobChanged();
    // An edit written back can change another view (after Glue, Text (1)
    // holds Text (2)'s lines): it is shown again once the command ends.
    if (writingBack) {
        textsToShow[indexOf(view)] = true;
        return;
    }
    // During a command a view is filled once, at its end, however often the
    // job changes its text.
    if (running || !theJob) {
        textsToShow[indexOf(view)] = true;
        return;
    }
    showText(view);
}

void MainWindow::partsChanged()
{
    partsPanel->jobChanged();
    if (!theJob)
        return;
    showReadiness();
    // A part removed or moved: the lines name the files parts 1 and 2 hold
    // now, not those of a part that is gone.
    const std::array<PartFiles, 2> now{theJob->part(0).files, theJob->part(1).files};
    if (now == linesShowFiles)
        return;
    linesShowFiles = now;
    const auto lines = StatusTexts::openedParts(*theJob);
    for (size_t i = 0; i < lines.size(); ++i)
        statusLabels[i]->setFullText(lines[i]);
}

void MainWindow::unsavedWorkChanged(bool unsaved)
{
    interviewActions->showTitle(*theJob);
    recoveryCopy->unsavedChanged(unsaved);
}

void MainWindow::interviewNamed()
{
    interviewActions->showTitle(*theJob);
    rememberGlued(); // Recent opens the interview file from now on
}

void MainWindow::wordRowsReplaced(WordTable table)
{
    partsPanel->jobChanged();
    if (WordTableModel *model = wordModel(table))
        model->rowsReplaced();
}

void MainWindow::wordRowsAppended(WordTable table, int first, int count)
{
    partsPanel->jobChanged();
    if (WordTableModel *model = wordModel(table))
        model->rowsAppended(first, count);
}

void MainWindow::wordRowsChanged(WordTable table, int first, int last)
{
    partsPanel->jobChanged();
    if (WordTableModel *model = wordModel(table))
        model->rowsChanged(first, last);
}

void MainWindow::phraseRowsReplaced()
{
    if (!phraseModel)
        return;
    phraseModel->rowsReplaced();
    // New phrases: the Text column takes the room the table leaves.
    fitPhraseTextColumn();
}

void MainWindow::phraseRowsChanged(int first, int last)
{
    if (phraseModel)
        phraseModel->rowsChanged(first, last);
}

void MainWindow::reviewChanged()
{
    if (!reviewPanel)
        return;
    reviewPanel->jobChanged();
    tcData->setTabText(static_cast<int>(Tab::Review), reviewPanel->caption());
}

void MainWindow::closeRequested()
{
    closeAllowed = true;
    if (!closingByEvent)
        close();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // A step runs: Exit asks to cancel it first, and closes once it ended.
    if (step) {
        event->ignore();
        if (askToCancelStep()) {
            closeAfterStep = true;
            step->cancel();
        }
        return;
    }
    // Closing the window is Exit: unsaved work is asked about first.
    if (!closeAllowed && theJob && theJob->hasUnsavedWork()) {
        closingByEvent = true;
        runCommand([this](GlueJob &job) { exit(job); });
        closingByEvent = false;
    } else {
        closeAllowed = true;
    }
    if (closeAllowed) {
        keepMemory();
        // A normal exit: nothing is left to recover.
        recoveryCopy->remove();
        event->accept();
    }
    else
        event->ignore();
}
