#include "app/TMainForm.h"

#include "app/MakerInfo.h"
#include "app/TAboutForm.h"
#include "app/TSplitterPanel.h"
#include "app/ToolbarIcons.h"
#include "convert/TConversionRun.h"
#include "profiles/ProfileArguments.h"
#include "preview/TPreviewPanel.h"
#include "profiles/ProfileFile.h"
#include "profiles/TProfilePanel.h"
#include "profiles/TSizeForm.h"
#include "platform/FileNames.h"
#include "platform/RunGuarded.h"
#include "settings/Preferences.h"
#include "settings/TSettingForm.h"
#include "storage/TNewInifile.h"
#include "platform/TValueListEditor.h"
#include "tasks/TaskAdder.h"
#include "tasks/TaskInputNames.h"
#include "tasks/TaskListCommands.h"
#include "tasks/TaskListEvents.h"
#include "tasks/TaskOptions.h"
#include "tasks/TaskRecordIO.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTimer>
#include <QToolTip>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <memory>

namespace {

QLabel *MakeLabel(QWidget *parent, const QString &name, const QString &text, int left, int top)
{
    auto *label = new QLabel(text, parent);
    if (!name.isEmpty())
        label->setObjectName(name);
    label->setAccessibleName(text);
    label->move(left, top);
    label->adjustSize();
    return label;
}

QFont TahomaFont(int pixels, bool bold)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void SetTextColour(QWidget *widget, const QColor &colour)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::WindowText, colour);
    widget->setPalette(pal);
}

} // namespace

TMainForm::TMainForm(const QString &programFolder, Services &services, const QStringList &arguments,
                     QWidget *parent)
    : QMainWindow(parent)
    , ProgramFolder(programFolder)
    , FServices(services)
{
    setObjectName(QStringLiteral("MainForm"));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    setFont(font);
    resize(798, 539);

    BuildToolbar();
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("panClient"));
    auto *row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    BuildMainPanel();
    row->addWidget(panMain, 1);
    panSplitter = new TSplitterPanel(central);
    row->addWidget(panSplitter);
    BuildProfileColumn();
    SetUpProfilePanel();
    row->addWidget(panProfile);
    setCentralWidget(central);

    timerTime = new QTimer(this);
    timerTime->setObjectName(QStringLiteral("timerTime"));
    timerTime->setInterval(1000);

    connect(panSplitter, &TSplitterPanel::mouseMoved, this, &TMainForm::panSplitterMouseMove);

    SetupTaskList();
    FormCreate(arguments);

    AboutForm = new TAboutForm(this, FServices);
    SettingForm = new TSettingForm(ProgramFolder, FServices, SettingsLink());
    SetUpSizeForm();
    SetUpConversion();

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TMainForm::~TMainForm() = default;

QToolButton *TMainForm::AddToolButton(const QString &name, const QString &hint, const QString &themeIcon, int image)
{
    auto *button = new QToolButton(Toolbar1);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setAutoRaise(true);
    button->setIcon(ToolbarIcon(themeIcon, image));
    button->setIconSize(QSize(48, 48));
    button->setFixedSize(56, 54);
    Toolbar1->addWidget(button);
    return button;
}

void TMainForm::BuildToolbar()
{
    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    Toolbar1->setFixedHeight(75);
    Toolbar1->setIconSize(QSize(48, 48));
    Toolbar1->toggleViewAction()->setVisible(false);
    addToolBar(Qt::TopToolBarArea, Toolbar1);

    tbtnAddFile = AddToolButton(QStringLiteral("tbtnAddFile"), QStringLiteral("Add Video Files"), QStringLiteral("list-add"), 0);
    tbtnAddDir = AddToolButton(QStringLiteral("tbtnAddDir"), QStringLiteral("Add Directory"), QStringLiteral("folder-new"), 1);
    Toolbar1->addSeparator();
    tbtnUp = AddToolButton(QStringLiteral("tbtnUp"), QStringLiteral("Move Up"), QStringLiteral("go-up"), 2);
    tbtnDown = AddToolButton(QStringLiteral("tbtnDown"), QStringLiteral("Move Down"), QStringLiteral("go-down"), 3);
    tbtnRemove = AddToolButton(QStringLiteral("tbtnRemove"), QStringLiteral("Remove"), QStringLiteral("list-remove"), 4);
    tbtnClear = AddToolButton(QStringLiteral("tbtnClear"), QStringLiteral("Clear"), QStringLiteral("edit-clear"), 5);
    Toolbar1->addSeparator();
    tbtnStart = AddToolButton(QStringLiteral("tbtnStart"), QStringLiteral("Start"), QStringLiteral("media-playback-start"), 6);
    tbtnStop = AddToolButton(QStringLiteral("tbtnStop"), QStringLiteral("Stop"), QStringLiteral("media-playback-stop"), 7);
    Toolbar1->addSeparator();
    tbtnSetting = AddToolButton(QStringLiteral("tbtnSetting"), QStringLiteral("Settings"), QStringLiteral("preferences-system"), 8);
    Toolbar1->addSeparator();
    tbtnAbout = AddToolButton(QStringLiteral("tbtnAbout"), QStringLiteral("About"), QStringLiteral("help-about"), 11);
    tbtnHelp = AddToolButton(QStringLiteral("tbtnHelp"), QStringLiteral("Help"), QStringLiteral("help-contents"), 12);

    connect(tbtnSetting, &QToolButton::clicked, this, &TMainForm::tbtnSettingClick);
    connect(tbtnAbout, &QToolButton::clicked, this, &TMainForm::tbtnAboutClick);
    connect(tbtnHelp, &QToolButton::clicked, this, &TMainForm::tbtnHelpClick);
}

void TMainForm::BuildProfileColumn()
{
    panProfile = new QWidget;
    panProfile->setObjectName(QStringLiteral("panProfile"));
    panProfile->setFixedWidth(200);
    auto *column = new QVBoxLayout(panProfile);
    column->setContentsMargins(0, 0, 0, 0);
    Splitter1 = new QSplitter(Qt::Vertical, panProfile);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(4);
    Splitter1->setChildrenCollapsible(false);
    gpbProfile = new QGroupBox(QStringLiteral("Profile Detail"));
    gpbProfile->setObjectName(QStringLiteral("gpbProfile"));
    gpbProfile->setAccessibleName(QStringLiteral("Profile Detail"));
    new QVBoxLayout(gpbProfile);
    gpbProfile->layout()->setContentsMargins(2, 2, 2, 2);
    panPreview = new QWidget;
    panPreview->setObjectName(QStringLiteral("panPreview"));
    panPreview->setAccessibleName(QStringLiteral("Preview"));
    new QVBoxLayout(panPreview);
    panPreview->layout()->setContentsMargins(0, 0, 0, 0);
    Preview = new TPreviewPanel(ltvTask, panPreview);
    panPreview->layout()->addWidget(Preview);
    Splitter1->addWidget(gpbProfile);
    Splitter1->addWidget(panPreview);
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);
    Splitter1->setSizes({539 - 75 - 177 - 4, 177});
    column->addWidget(Splitter1);
}

void TMainForm::BuildMainPanel()
{
    panMain = new QWidget;
    panMain->setObjectName(QStringLiteral("panMain"));
    auto *outer = new QVBoxLayout(panMain);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    auto *listRow = new QHBoxLayout;
    listRow->setSpacing(0);
    panLeft = new QWidget(panMain);
    panLeft->setObjectName(QStringLiteral("panLeft"));
    panLeft->setFixedWidth(10);
    listRow->addWidget(panLeft);

    ltvTask = new QTreeWidget(panMain);
    ltvTask->setObjectName(QStringLiteral("ltvTask"));
    ltvTask->setAccessibleName(QStringLiteral("Task List"));
    ltvTask->setRootIsDecorated(false);
    ltvTask->setUniformRowHeights(true);
    ltvTask->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ltvTask->setSelectionBehavior(QAbstractItemView::SelectRows);
    ltvTask->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ltvTask->setContextMenuPolicy(Qt::CustomContextMenu);
    // The caption and ten sub-items; sub-items 3 to 9 are hidden data.
    ltvTask->setColumnCount(11);
    ltvTask->setHeaderLabels({QStringLiteral("Input File"), QStringLiteral("Length"), QStringLiteral("Size"),
                              QStringLiteral("Status"), QStringLiteral("OutName"), QStringLiteral("OutExt"),
                              QStringLiteral("RangeStart"), QStringLiteral("RangeEnd"), QStringLiteral("ClipLength"),
                              QStringLiteral("StartTime"), QStringLiteral("EndTime")});
    // Hidden sections keep their size in the header's length; give them none, or the list
    // would scroll sideways over empty space.
    ltvTask->header()->setMinimumSectionSize(0);
    for (int c = 4; c < 11; ++c) {
        ltvTask->header()->resizeSection(c, 0);
        ltvTask->setColumnHidden(c, true);
    }
    ltvTask->header()->setStretchLastSection(false);
    ltvTask->header()->setStyleSheet(QStringLiteral("QHeaderView::section { background-color: rgb(239,239,239); }"));
    listRow->addWidget(ltvTask, 1);
    outer->addLayout(listRow, 1);

    ppmTask = new QMenu(this);
    ppmTask->setObjectName(QStringLiteral("ppmTask"));

    BuildBottomBar();
    outer->addWidget(panBottom);
    BuildWelcomePanel();
}

void TMainForm::BuildBottomBar()
{
    panBottom = new QWidget(panMain);
    panBottom->setObjectName(QStringLiteral("panBottom"));
    panBottom->setFixedHeight(77);
    auto *bottomLayout = new QHBoxLayout(panBottom);
    bottomLayout->setContentsMargins(0, 0, 0, 0);
    panBottomRight = new QWidget(panBottom);
    panBottomRight->setObjectName(QStringLiteral("panBottomRight"));
    bottomLayout->addWidget(panBottomRight);

    // Output settings bar. Places are kept by FormResize.
    panBottomCenter = new QWidget(panBottomRight);
    panBottomCenter->setObjectName(QStringLiteral("panBottomCenter"));
    panBottomCenter->setGeometry(0, 0, 607, 77);
    MakeLabel(panBottomCenter, QStringLiteral("labProfile"), QStringLiteral("Profile:"), 16, 15);
    cmbProfile = new QComboBox(panBottomCenter);
    cmbProfile->setObjectName(QStringLiteral("cmbProfile"));
    cmbProfile->setAccessibleName(QStringLiteral("Profile:"));
    cmbProfile->setGeometry(74, 11, 441, 22);
    bbtnSetting = new QPushButton(QStringLiteral("&Setting"), panBottomCenter);
    bbtnSetting->setObjectName(QStringLiteral("bbtnSetting"));
    bbtnSetting->setAccessibleName(QStringLiteral("Setting"));
    bbtnSetting->setGeometry(517, 9, 80, 25);
    MakeLabel(panBottomCenter, QStringLiteral("labOutputPath"), QStringLiteral("Output Path:"), 8, 47);
    edtOutputdir = new QLineEdit(panBottomCenter);
    edtOutputdir->setObjectName(QStringLiteral("edtOutputdir"));
    edtOutputdir->setAccessibleName(QStringLiteral("Output Path:"));
    edtOutputdir->setGeometry(75, 43, 359, 22);
    bbtnBrowser = new QPushButton(QStringLiteral("&Browse"), panBottomCenter);
    bbtnBrowser->setObjectName(QStringLiteral("bbtnBrowser"));
    bbtnBrowser->setAccessibleName(QStringLiteral("Browse"));
    bbtnBrowser->setGeometry(432, 41, 80, 25);
    bbtnOpen = new QPushButton(QStringLiteral("&Open"), panBottomCenter);
    bbtnOpen->setObjectName(QStringLiteral("bbtnOpen"));
    bbtnOpen->setAccessibleName(QStringLiteral("Open"));
    bbtnOpen->setGeometry(517, 41, 80, 25);
    connect(bbtnSetting, &QPushButton::clicked, this, &TMainForm::bbtnSettingClick);
    connect(bbtnBrowser, &QPushButton::clicked, this, &TMainForm::bbtnBrowserClick);
    connect(bbtnOpen, &QPushButton::clicked, this, &TMainForm::bbtnOpenClick);
    connect(cmbProfile, &QComboBox::activated, this, &TMainForm::cmbProfileChange);

    // Progress panel, shown during a run.
    panBottomLeft = new QWidget(panBottomRight);
    panBottomLeft->setObjectName(QStringLiteral("panBottomLeft"));
    panBottomLeft->setGeometry(0, 0, 607, 77);
    MakeLabel(panBottomLeft, QStringLiteral("labConverting"), QStringLiteral("Converting:"), 8, 6);
    labConvertingFile = MakeLabel(panBottomLeft, QStringLiteral("labConvertingFile"), QStringLiteral("No File"), 115, 6);
    labConvertingFile->setFixedWidth(220);
    labTimeElapsed = MakeLabel(panBottomLeft, QStringLiteral("labTimeElapsed"), QStringLiteral("Time Elapsed:"), 345, 6);
    labElapsed = MakeLabel(panBottomLeft, QStringLiteral("labElapsed"), QStringLiteral("00:00:00"), 418, 6);
    labTimeRemaining = MakeLabel(panBottomLeft, QStringLiteral("labTimeRemaining"), QStringLiteral("Time Remaining:"), 472, 6);
    labRemaining = MakeLabel(panBottomLeft, QStringLiteral("labRemaining"), QStringLiteral("00:00:00"), 555, 6);
    MakeLabel(panBottomLeft, QStringLiteral("labCurrent"), QStringLiteral("Current Progress:"), 8, 29);
    pgbCurrent = new QProgressBar(panBottomLeft);
    pgbCurrent->setObjectName(QStringLiteral("pgbCurrent"));
    pgbCurrent->setAccessibleName(QStringLiteral("Current Progress:"));
    pgbCurrent->setRange(0, 100);
    pgbCurrent->setValue(0);
    pgbCurrent->setTextVisible(false);
    pgbCurrent->setGeometry(115, 28, 457, 16);
    labCurProgress = MakeLabel(panBottomLeft, QStringLiteral("labCurProgress"), QStringLiteral("0%"), 580, 29);
    MakeLabel(panBottomLeft, QStringLiteral("labTotal"), QStringLiteral("Total Progress:"), 8, 53);
    pgbTotal = new QProgressBar(panBottomLeft);
    pgbTotal->setObjectName(QStringLiteral("pgbTotal"));
    pgbTotal->setAccessibleName(QStringLiteral("Total Progress:"));
    pgbTotal->setRange(0, 100);
    pgbTotal->setValue(0);
    pgbTotal->setTextVisible(false);
    pgbTotal->setGeometry(115, 52, 457, 16);
    labTotalProgress = MakeLabel(panBottomLeft, QStringLiteral("labTotalProgress"), QStringLiteral("0%"), 580, 53);
    // The percentages have 27 pixels beside the bars; a slightly smaller text keeps "100%" whole.
    for (QLabel *percent : {labCurProgress, labTotalProgress}) {
        QFont small = percent->font();
        small.setPixelSize(9);
        percent->setFont(small);
        percent->setFixedWidth(27);
    }
}

void TMainForm::BuildWelcomePanel()
{
    panbg = new QFrame(panMain);
    panbg->setObjectName(QStringLiteral("panbg"));
    panbg->setAccessibleName(QStringLiteral("Welcome"));
    panbg->setAutoFillBackground(true);
    QPalette pal = panbg->palette();
    pal.setColor(QPalette::Window, Qt::white);
    panbg->setPalette(pal);
    panbg->setGeometry(10, 0, 568, 350);
    panMain->installEventFilter(this);

    imgbg = new QLabel(panbg);
    imgbg->setObjectName(QStringLiteral("imgbg"));
    imgbg->setAccessibleName(QStringLiteral("Player"));
    imgbg->setPixmap(WelcomePicture());
    imgbg->setGeometry(24, 40, 132, 239);

    labProgramName = MakeLabel(panbg, QStringLiteral("labProgramName"), MakerInfo::ProductName, 184, 40);
    labProgramName->setFont(TahomaFont(31, true));
    labProgramName->adjustSize();
    labGetttingStart = MakeLabel(panbg, QStringLiteral("labGetttingStart"), QStringLiteral("Getting Start:"), 186, 110);
    labGetttingStart->setFont(TahomaFont(16, true));
    SetTextColour(labGetttingStart, QColor(19, 157, 217));
    labGetttingStart->adjustSize();
    const QString steps[] = {QStringLiteral("1. Add multiple videos to the Task List."),
                             QStringLiteral("2. Select a profile and output path."),
                             QStringLiteral("3. Click on the \"Start\" button.")};
    const QString stepNames[] = {QStringLiteral("labStep1"), QStringLiteral("labStep2"), QStringLiteral("labstep3")};
    QLabel **stepLabels[] = {&labStep1, &labStep2, &labstep3};
    for (int i = 0; i < 3; ++i) {
        QLabel *label = MakeLabel(panbg, stepNames[i], steps[i], 200, 145 + 30 * i);
        label->setFont(TahomaFont(15, true));
        SetTextColour(label, QColor(112, 112, 112));
        label->adjustSize();
        *stepLabels[i] = label;
    }
    labLink = MakeLabel(panbg, QStringLiteral("labLink"), QString(), 186, 310);
    labLink->setFont(TahomaFont(12, false));
    SetTextColour(labLink, QColor(194, 194, 194));
    labLink->setCursor(Qt::PointingHandCursor);
    labLink->installEventFilter(this);
}

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    // The rules follow panMain's own size, known only once the layouts have placed it.
    if (watched == panMain && event->type() == QEvent::Resize)
        FormResize();
    if (watched == labLink) {
        if (event->type() == QEvent::MouseButtonPress) {
            SetTextColour(labLink, QColor(128, 165, 253));
        } else if (event->type() == QEvent::MouseButtonRelease) {
            SetTextColour(labLink, QColor(194, 194, 194));
            // Any button changes the colour; only a left click counts as a click.
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::LeftButton && labLink->rect().contains(mouse->position().toPoint()))
                labLinkClick();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::FormCreate(const QStringList &arguments)
{
    // 1 and 2: the program folder and the transcoder beside it.
    edtOutputdir->setText(ProgramFolder);
    TranscoderPath = ProgramFolder + QStringLiteral("wmaspi.dll");
    // 4: the version text; closing the file creates it when it is missing. A file that cannot
    // be read or written is reported and start-up goes on with the default.
    VersionText = QStringLiteral("2.5");
    RunGuarded(FServices.messages, this, [this] {
        std::unique_ptr<TNewInifile> ini(new TNewInifile(ProgramFolder + QStringLiteral("Preferences.ini")));
        VersionText = ini->ReadString(QStringLiteral("Main"), QStringLiteral("Version"), VersionText);
        TNewInifile::SaveAndFree(ini.release());
    });
    // 5 and 6.
    HelpFilePath = ProgramFolder + QStringLiteral("Brevlin.chm");
    setWindowTitle(MakerInfo::ProductName + QStringLiteral(" V") + VersionText);
    labProgramName->setText(MakerInfo::ProductName);
    labProgramName->adjustSize();
    labLink->setText(MakerInfo::MakerName + QStringLiteral("  ") + MakerInfo::WebAddress);
    labLink->setAccessibleName(labLink->text());
    labLink->adjustSize();
    // 7 to 9: extensions, mask and the open dialog's filter.
    SupportedExtensions = {QStringLiteral(".avi"), QStringLiteral(".mpg"), QStringLiteral(".mpeg"), QStringLiteral(".mp4"),
                           QStringLiteral(".wmv"), QStringLiteral(".mov"), QStringLiteral(".vob"), QStringLiteral(".asf")};
    QList<FileFilter> body;
    for (const QString &ext : std::as_const(SupportedExtensions)) {
        FileMask += QStringLiteral("*") + ext + QStringLiteral(";");
        body.append({ext.mid(1).toUpper() + QStringLiteral(" Files (*") + ext + QStringLiteral(")"), QStringLiteral("*") + ext});
    }
    OpenDialogFilter = {{QStringLiteral("All Support Files(") + FileMask + QStringLiteral(")"), FileMask}};
    OpenDialogFilter += body;
    OpenDialogFilter.append({QStringLiteral("All Files (*.*)"), QStringLiteral("*.*")});
    // 10.
    ReadProfileList();
    // 11: a list file that cannot be read is reported and start-up goes on with an empty list.
    RunGuarded(FServices.messages, this, [&] { AddCommandLineInputs(arguments); });
    // 12: drops are accepted (handled with the task list).
    setAcceptDrops(true);
    // 13 and 14.
    panBottomCenter->setFixedWidth(607);
    panBottomLeft->setFixedWidth(607);
    panBottomLeft->hide();
    ltvTask->setColumnWidth(0, 260);
    ltvTask->setColumnWidth(1, 90);
    ltvTask->setColumnWidth(2, 80);
    ltvTask->setColumnWidth(3, 100);
    SetListCommandsEnabled(ltvTask->topLevelItemCount() > 0);
    tbtnStop->setEnabled(false);
}

void TMainForm::ReadProfileList()
{
    // Sorted by name, letter case ignored, so the stored position names the same profile at every start.
    const QDir folder(ProgramFolder + QStringLiteral("Profiles"));
    const QFileInfoList entries =
        folder.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        if (dot < 0 || name.mid(dot).toLower() != QStringLiteral(".apf"))
            continue;
        cmbProfile->addItem(name.left(dot));
    }
    cmbProfile->setCurrentIndex(-1);
}

void TMainForm::AddCommandLineInputs(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return;
    // A list file names the inputs one a line; the other arguments are then not looked at.
    const QStringList entries =
        IsInputListFile(arguments.first()) ? ReadInputListFile(arguments.first()) : arguments;
    AddTaskFiles(InputFilesOf(entries));
    if (ltvTask->topLevelItemCount() > 0)
        SetListCommandsEnabled(true);
}

void TMainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!FShownOnce) {
        FShownOnce = true;
        RunGuarded(FServices.messages, this, [this] { FormShow(); });
    }
}

void TMainForm::FormShow()
{
    LoadPreferences(ProgramFolder, SettingsLink());
    Q_EMIT preferencesLoaded();
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    // A run going on is stopped first: no transcoder outlives the window.
    ConversionRun->MainWindowClosing();
    RunGuarded(FServices.messages, this, [this] { FormClose(); });
    QMainWindow::closeEvent(event);
}

void TMainForm::FormClose()
{
    SavePreferences(ProgramFolder, SettingsLink(), SettingForm->GeneralControls());
}

void TMainForm::FormResize()
{
    const int width = panMain->width();
    panBottomCenter->setFixedWidth(width);
    panBottomLeft->setFixedWidth(width);
    bbtnSetting->move(panBottomCenter->width() - 90, bbtnSetting->y());
    cmbProfile->resize(bbtnSetting->x() - 83, cmbProfile->height());
    bbtnOpen->move(panBottomCenter->width() - 90, bbtnOpen->y());
    bbtnBrowser->move(bbtnOpen->x() - 85, bbtnBrowser->y());
    edtOutputdir->resize(bbtnBrowser->x() - 83, edtOutputdir->height());
    labCurProgress->move(panBottomLeft->width() - 27, labCurProgress->y());
    pgbCurrent->resize(labCurProgress->x() - 123, pgbCurrent->height());
    labTotalProgress->move(panBottomLeft->width() - 27, labTotalProgress->y());
    pgbTotal->resize(labTotalProgress->x() - 123, pgbTotal->height());
    // The times keep to the right edge, so the file name gets the room that is left.
    const QFontMetrics metrics(labElapsed->font());
    const int timeWidth = metrics.horizontalAdvance(QStringLiteral("000:00:00")) + 2;
    labRemaining->setGeometry(panBottomLeft->width() - 8 - timeWidth, labRemaining->y(), timeWidth, labRemaining->height());
    labTimeRemaining->move(labRemaining->x() - labTimeRemaining->width() - 4, labTimeRemaining->y());
    labElapsed->setGeometry(labTimeRemaining->x() - 12 - timeWidth, labElapsed->y(), timeWidth, labElapsed->height());
    labTimeElapsed->move(labElapsed->x() - labTimeElapsed->width() - 4, labTimeElapsed->y());
    labConvertingFile->setFixedWidth(std::max(0, labTimeElapsed->x() - labConvertingFile->x() - 8));
}

void TMainForm::panSplitterMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x)
{
    if (buttons != Qt::LeftButton || modifiers != Qt::NoModifier || x == 0)
        return;
    panProfile->setFixedWidth(std::max(0, panProfile->width() - x + 5));
    // The layouts place the panels at once; panMain's resize runs the layout rules.
    centralWidget()->layout()->activate();
}

void TMainForm::SetInputEnabled(bool enabled)
{
    // The secondary windows are children of the main window, so the window itself stays enabled.
    centralWidget()->setEnabled(enabled);
    Toolbar1->setEnabled(enabled);
}

bool TMainForm::InputEnabled() const
{
    return centralWidget()->isEnabled() && Toolbar1->isEnabled();
}

void TMainForm::SetListCommandsEnabled(bool enabled)
{
    tbtnUp->setEnabled(enabled);
    tbtnDown->setEnabled(enabled);
    tbtnRemove->setEnabled(enabled);
    tbtnClear->setEnabled(enabled);
    tbtnStart->setEnabled(enabled);
}

void TMainForm::DisableCommands()
{
    // A run starts with the preview stopped; the preview buttons stay usable during the run.
    Preview->sbtnStopClick();
    for (QToolButton *b : {tbtnAddFile, tbtnAddDir, tbtnUp, tbtnDown, tbtnRemove, tbtnClear, tbtnStart, tbtnSetting})
        b->setEnabled(false);
    tbtnStop->setEnabled(true);
    ltvTask->setEnabled(false);
    panSplitter->setEnabled(false);
    gpbProfile->setEnabled(false);
}

void TMainForm::EnableCommands()
{
    for (QToolButton *b : {tbtnAddFile, tbtnAddDir, tbtnUp, tbtnDown, tbtnRemove, tbtnClear, tbtnStart, tbtnSetting})
        b->setEnabled(true);
    tbtnStop->setEnabled(false);
    ltvTask->setEnabled(true);
    panSplitter->setEnabled(true);
    gpbProfile->setEnabled(true);
}

void TMainForm::tbtnSettingClick()
{
    SettingForm->show();
    SettingForm->raise();
    SettingForm->pgcSetting->setCurrentWidget(SettingForm->TabSheet1);
}

void TMainForm::bbtnSettingClick()
{
    // The page always opens on the main window's profile, read afresh from its file.
    SettingForm->show();
    SettingForm->raise();
    SettingForm->pgcSetting->setCurrentWidget(SettingForm->TabSheet2);
    SettingForm->cmbProfile->setCurrentIndex(cmbProfile->currentIndex());
    SettingForm->cmbProfileChange();
}

void TMainForm::cmbProfileChange()
{
    ProfilePanel->ShowProfile(ProfilePath(ProgramFolder, cmbProfile->currentText()));
}

void TMainForm::bbtnBrowserClick()
{
    QString folder;
    if (FServices.dialogs.SelectFolder(this, QStringLiteral("Select the output directory."), QString(), folder))
        edtOutputdir->setText(WithTrailingBackslash(folder));
}

void TMainForm::bbtnOpenClick()
{
    if (QFileInfo(edtOutputdir->text()).isDir())
        FServices.desktop.open(edtOutputdir->text());
}

void TMainForm::tbtnAboutClick()
{
    AboutForm->show();
}

void TMainForm::tbtnHelpClick()
{
    FServices.desktop.open(HelpFilePath);
}

void TMainForm::labLinkClick()
{
    FServices.desktop.open(MakerInfo::WebAddress);
}

// ---- Profile detail panel (profiles/) ----

void TMainForm::SetUpProfilePanel()
{
    ProfilePanel = new TProfilePanel(TProfilePanel::Kind::DetailPanel, gpbProfile);
    gpbProfile->layout()->addWidget(ProfilePanel);
    connect(ProfilePanel, &TProfilePanel::OutputExtensionChanged, this,
            [this](const QString &extension) { OutputExtension = extension; });
}

void TMainForm::SetUpSizeForm()
{
    SizeForm = new TSizeForm(this, ProfilePanel->vleVideo, FServices.messages,
                             [this](bool enabled) { SetInputEnabled(enabled); });
    // Shown without waiting: the code that chose "Custom Size" goes on.
    connect(ProfilePanel, &TProfilePanel::CustomSizeRequested, SizeForm, [this] {
        SizeForm->show();
        SizeForm->raise();
        SizeForm->activateWindow();
    });
}

// ---- Task list (tasks/) ----

void TMainForm::SetupTaskList()
{
    TaskAdding = new TaskAdder(ltvTask, this, this);
    ltvTaskEvents = new TaskListEvents(ltvTask);
    connect(ltvTaskEvents, &TaskListEvents::clicked, this, &TMainForm::ltvTaskClick);
    connect(ltvTaskEvents, &TaskListEvents::resized, this, &TMainForm::ltvTaskResize);
    connect(ltvTaskEvents, &TaskListEvents::deletePressed, this, [this] { ltvTaskKeyDown(Qt::Key_Delete); });
    connect(ltvTaskEvents, &TaskListEvents::backspacePressed, this, [this] { ltvTaskKeyDown(Qt::Key_Backspace); });
    connect(ltvTask, &QAbstractItemView::doubleClicked, this, &TMainForm::ltvTaskDblClick);

    mniOpen = ppmTask->addAction(QStringLiteral("Open"), this, &TMainForm::ltvTaskDblClick);
    mniOpen->setObjectName(QStringLiteral("mniOpen"));
    ppmTask->addSeparator();
    mniAddFiles = ppmTask->addAction(QStringLiteral("Add Files..."), this, &TMainForm::tbtnAddFileClick);
    mniAddFiles->setObjectName(QStringLiteral("mniAddFiles"));
    mniAddDir = ppmTask->addAction(QStringLiteral("Add Directorys..."), this, &TMainForm::tbtnAddDirClick);
    mniAddDir->setObjectName(QStringLiteral("mniAddDir"));
    ppmTask->addSeparator();
    mniRemove = ppmTask->addAction(QStringLiteral("Remove"), this, &TMainForm::tbtnRemoveClick);
    mniRemove->setObjectName(QStringLiteral("mniRemove"));
    mniClear = ppmTask->addAction(QStringLiteral("Clear"), this, &TMainForm::tbtnClearClick);
    mniClear->setObjectName(QStringLiteral("mniClear"));
    connect(ppmTask, &QMenu::aboutToShow, this, &TMainForm::ppmTaskPopup);
    connect(ltvTask, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { ppmTask->popup(ltvTask->viewport()->mapToGlobal(pos)); });

    connect(tbtnAddFile, &QToolButton::clicked, this, &TMainForm::tbtnAddFileClick);
    connect(tbtnAddDir, &QToolButton::clicked, this, &TMainForm::tbtnAddDirClick);
    connect(tbtnUp, &QToolButton::clicked, this, &TMainForm::tbtnUpClick);
    connect(tbtnDown, &QToolButton::clicked, this, &TMainForm::tbtnDownClick);
    connect(tbtnRemove, &QToolButton::clicked, this, &TMainForm::tbtnRemoveClick);
    connect(tbtnClear, &QToolButton::clicked, this, &TMainForm::tbtnClearClick);

    TValueListEditor *vleOutput = ProfilePanel->vleOutput;
    connect(vleOutput, &TValueListEditor::Validate, this, &TMainForm::vleOutputValidate);
    connect(vleOutput, &TValueListEditor::MouseDown, this, &TMainForm::vleOutputMouseDown);
    connect(vleOutput, &TValueListEditor::Click, this, &TMainForm::vleOutputClick);
}

void TMainForm::AddTaskFile(const QString &path)
{
    AddTaskFiles({path});
}

void TMainForm::AddTaskFolder(const QString &folder)
{
    AddTaskFiles(FolderInputFiles(folder, FileMask));
}

void TMainForm::AddTaskFiles(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    // The welcome panel goes for good once a file is offered, added or not.
    panbg->hide();
    TaskAdding->TranscoderPath = TranscoderPath;
    TaskAdding->AddFiles(paths, OutputExtension);
}

QStringList TMainForm::InputFilesOf(const QStringList &entries) const
{
    QStringList files;
    for (const QString &entry : entries) {
        const QFileInfo info(entry);
        if (info.isFile()) {
            if (HasSupportedExtension(entry, SupportedExtensions))
                files << entry;
        } else if (info.isDir()) {
            files << FolderInputFiles(entry, FileMask);
        }
    }
    return files;
}

void TMainForm::EmptyTaskOptions()
{
    TValueListEditor *vleOutput = ProfilePanel->vleOutput;
    TProfilePanel::SetRowValue(vleOutput, TaskOptionKeys::NewFilename, QString());
    TProfilePanel::SetRowValue(vleOutput, TaskOptionKeys::StartTime, QString());
    TProfilePanel::SetRowValue(vleOutput, TaskOptionKeys::EndTime, QString());
}

void TMainForm::tbtnAddFileClick()
{
    const QStringList chosen = FServices.dialogs.openFiles(this, OpenDialogFilter);
    if (!chosen.isEmpty()) {
        // The dialog's first file is added last.
        QStringList ordered = chosen.mid(1);
        ordered << chosen.first();
        AddTaskFiles(ordered);
    }
    if (ltvTask->topLevelItemCount() == 1) {
        ltvTask->setCurrentItem(ltvTask->topLevelItem(0));
        ltvTaskClick();
    }
    ltvTask->setFocus();
    if (ltvTask->topLevelItemCount() > 0)
        SetListCommandsEnabled(true);
}

void TMainForm::tbtnAddDirClick()
{
    QString folder;
    if (FServices.dialogs.SelectFolder(this, QStringLiteral("Add a directory to the Task List"), QString(), folder))
        AddTaskFolder(folder);
    ltvTask->setFocus();
    if (ltvTask->topLevelItemCount() > 0)
        SetListCommandsEnabled(true);
}

void TMainForm::tbtnRemoveClick()
{
    RemoveSelectedTasks(ltvTask);
    EmptyTaskOptions();
    if (ltvTask->topLevelItemCount() == 0)
        SetListCommandsEnabled(false);
}

void TMainForm::tbtnClearClick()
{
    ClearTasks(ltvTask);
    EmptyTaskOptions();
    SetListCommandsEnabled(false);
}

void TMainForm::tbtnUpClick()
{
    MoveSelectedTasksUp(ltvTask);
}

void TMainForm::tbtnDownClick()
{
    MoveSelectedTasksDown(ltvTask);
}

int TMainForm::FirstSelectedTask() const
{
    return int(SelectedRowFlags(ltvTask).indexOf(true));
}

void TMainForm::ltvTaskClick()
{
    const int row = FirstSelectedTask();
    if (row < 0) {
        EmptyTaskOptions();
        return;
    }
    ltvItemData record;
    ReadTaskRecord(ltvTask, row, TaskField::All, record);
    const TaskOptionTexts shown = ShownTaskOptions(record, OutputExtension);
    TValueListEditor *vleOutput = ProfilePanel->vleOutput;
    TProfilePanel::SetRowValue(vleOutput, TaskOptionKeys::NewFilename, shown.newFilename);
    TProfilePanel::SetRowValue(vleOutput, TaskOptionKeys::StartTime, shown.startTime);
    TProfilePanel::SetRowValue(vleOutput, TaskOptionKeys::EndTime, shown.endTime);
}

void TMainForm::vleOutputValidate()
{
    const int row = FirstSelectedTask();
    if (row < 0)
        return;
    ltvItemData record;
    ReadTaskRecord(ltvTask, row, TaskField::All, record);
    const TValueListEditor *vleOutput = ProfilePanel->vleOutput;
    StoreTaskOptions(record, {TProfilePanel::RowValue(vleOutput, TaskOptionKeys::NewFilename),
                              TProfilePanel::RowValue(vleOutput, TaskOptionKeys::StartTime),
                              TProfilePanel::RowValue(vleOutput, TaskOptionKeys::EndTime)});
    for (int field : {TaskField::OutName, TaskField::OutExt, TaskField::ClipLength, TaskField::StartTime,
                      TaskField::EndTime})
        WriteTaskRecord(ltvTask, row, field, record);
}

void TMainForm::vleOutputMouseDown(Qt::MouseButton, const QPoint &pos)
{
    TValueListEditor *vleOutput = ProfilePanel->vleOutput;
    if (!TProfilePanel::RowValue(vleOutput, TaskOptionKeys::NewFilename).isEmpty()) {
        ProfilePanel->RepaintAllGroups();
        return;
    }
    // No task shown: a tip instead of an editor. Like a balloon, it stays with the window
    // under the mouse and shows again whenever the mouse rests there.
    const QPoint global = vleOutput->viewport()->mapToGlobal(pos);
    QWidget *under = QApplication::widgetAt(global);
    if (!under)
        under = vleOutput->viewport();
    const QString tip = QStringLiteral("<b>Tip:</b><br>Please select a file in Task List.");
    under->setToolTip(tip);
    QToolTip::showText(global, tip, under);
    vleOutput->EndEditing();
}

void TMainForm::vleOutputClick()
{
    ProfilePanel->RepaintAllGroups();
}

void TMainForm::ltvTaskDblClick()
{
    if (ltvTask->selectionModel()->hasSelection())
        OpenPreview();
}

void TMainForm::ltvTaskKeyDown(int key)
{
    if (key == Qt::Key_Delete)
        tbtnRemoveClick();
    else if (key == Qt::Key_Backspace)
        tbtnClearClick();
}

void TMainForm::ltvTaskResize()
{
    ltvTaskColumns.Resize(ltvTask);
}

void TMainForm::ppmTaskPopup()
{
    const bool selected = ltvTask->selectionModel()->hasSelection();
    mniOpen->setEnabled(selected);
    mniRemove->setEnabled(selected);
    mniClear->setEnabled(ltvTask->topLevelItemCount() > 0);
    mniAddFiles->setEnabled(true);
    mniAddDir->setEnabled(true);
}

void TMainForm::dragEnterEvent(QDragEnterEvent *event)
{
    if (ltvTask->isEnabled() && event->mimeData()->hasUrls())
        event->acceptProposedAction();
    else
        event->ignore();
}

void TMainForm::dragMoveEvent(QDragMoveEvent *event)
{
    if (ltvTask->isEnabled() && event->mimeData()->hasUrls())
        event->acceptProposedAction();
    else
        event->ignore();
}

void TMainForm::dropEvent(QDropEvent *event)
{
    if (!ltvTask->isEnabled() || !event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // Whole paths, in the drop's order.
    QStringList dropped;
    for (const QUrl &url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            dropped << QDir::toNativeSeparators(url.toLocalFile());
    }
    AddTaskFiles(InputFilesOf(dropped));
    if (ltvTask->topLevelItemCount() > 0)
        SetListCommandsEnabled(true);
}

// ---- Conversion (convert/) ----

void TMainForm::SetUpConversion()
{
    TConversionView view;
    view.owner = this;
    view.ltvTask = ltvTask;
    view.edtOutputdir = edtOutputdir;
    view.labConvertingFile = labConvertingFile;
    view.labElapsed = labElapsed;
    view.labRemaining = labRemaining;
    view.pgbCurrent = pgbCurrent;
    view.labCurProgress = labCurProgress;
    view.pgbTotal = pgbTotal;
    view.labTotalProgress = labTotalProgress;
    view.panBottomCenter = panBottomCenter;
    view.panBottomLeft = panBottomLeft;
    view.timerTime = timerTime;
    ConversionRun = new TConversionRun(view, FServices, this);
    ConversionRun->TranscoderPath = TranscoderPath;
    // Built once per run from the profile file and the values the detail panel shows now.
    ConversionRun->BuildProfileArguments = [this](const QString &profilePath) {
        return ::BuildProfileArguments(profilePath, [this](ProfileGroup group, const QString &name) {
            return TProfilePanel::RowValue(ProfilePanel->GroupFor(group), name);
        });
    };
    ConversionRun->OutputExtension = [this] { return OutputExtension; };
    ConversionRun->Choices = [this] {
        TRunChoices choices;
        choices.Rename = SettingForm->RenameChosen();
        choices.OpenDir = SettingForm->OpenDirChosen();
        choices.Exit = SettingForm->ExitChosen();
        choices.TurnOff = SettingForm->TurnOffChosen();
        return choices;
    };
    ConversionRun->DisableCommands = [this] { DisableCommands(); };
    ConversionRun->EnableCommands = [this] { EnableCommands(); };
    ConversionRun->CloseMainWindow = [this] { close(); };
    connect(tbtnStart, &QToolButton::clicked, this, &TMainForm::tbtnStartClick);
    connect(tbtnStop, &QToolButton::clicked, this, &TMainForm::tbtnStopClick);
    connect(timerTime, &QTimer::timeout, this, &TMainForm::timerTimeTimer);
}

void TMainForm::tbtnStartClick()
{
    RunGuarded(FServices.messages, this, [this] {
        ConversionRun->TranscoderPath = TranscoderPath;
        ConversionRun->tbtnStartClick(ProfilePath(ProgramFolder, cmbProfile->currentText()));
    });
}

void TMainForm::tbtnStopClick()
{
    ConversionRun->tbtnStopClick();
}

void TMainForm::timerTimeTimer()
{
    ConversionRun->timerTimeTimer();
}

// ---- Preview (preview/) ----

void TMainForm::OpenPreview()
{
    Preview->OpenPreview();
}

// ---- Settings (settings/) ----

MainWindowLink TMainForm::SettingsLink()
{
    return {this, cmbProfile, edtOutputdir, [this] { cmbProfileChange(); },
            [this](bool enabled) { SetInputEnabled(enabled); }};
}
