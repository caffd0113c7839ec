#include "tavola.h"

#include "board.h"
#include "boardlabel.h"
#include "clock/countdown.h"
#include "graphicalbutton.h"
#include "keycodes.h"
#include "layouttable.h"
#include "platform/conversions.h"
#include "platform/platform.h"

#include <QCloseEvent>
#include <QDir>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QShortcut>
#include <QTimer>

namespace numerella {

namespace {
const QString kCaption = QStringLiteral("Gioca con la numerella del dieci");
const QString kMinimisedCaption = QStringLiteral("Giocare con la tavola pitagorica");
} // namespace

void registerPictureResources();

Tavola::Tavola(Platform& platform, QWidget* parent)
    : QMainWindow(parent)
    , platform_(platform)
{
    registerPictureResources();
    setWindowIcon(QIcon(QStringLiteral(":/assets/icona.ico")));
}

Tavola::~Tavola() = default;

template <typename Handler>
void Tavola::whenAlive(Handler handler)
{
    if (!ended_)
        handler();
}

void Tavola::load()
{
    unload();
    controls_ = buildControls();
    setMenuBar(controls_.menuBar);
    setCentralWidget(controls_.board);
    connectHandlers();
    setWindowTitle(kCaption);
    resize(layout::toPixels(layout::kClientWidthTwips),
           layout::toPixels(layout::kClientHeightTwips) + controls_.menuBar->sizeHint().height());

    Form_Load();
    if (ended_)
        return;
    showMaximized();
    Form_Activate();
}

void Tavola::unload()
{
    if (!controls_.board)
        return;
    hide();
    controls_.Timer1->stop();
    // Deleted once control is back in the event loop: the menu item that
    // asked for the reload may still be delivering its signal.
    controls_.txtAnswer->removeEventFilter(this);
    takeCentralWidget()->deleteLater();
    controls_ = Controls{};
}

void Tavola::connectHandlers()
{
    const Controls& c = controls_;
    c.txtAnswer->installEventFilter(this);
    connect(c.Timer1, &QTimer::timeout, this, &Tavola::deliverTick);
    connect(c.cmdNext, &QPushButton::clicked, this, [this] { whenAlive([this] { cmdNext_Click(); }); });
    connect(c.cmdExit, &QPushButton::clicked, this, [this] { whenAlive([this] { cmdExit_Click(); }); });
    connect(c.Next, &QAction::triggered, this, [this] { whenAlive([this] { Next_Click(); }); });

    // The question button is the window's cancel button: Escape presses it
    // while it is enabled.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), c.board);
    connect(escape, &QShortcut::activated, this, [this] {
        if (!ended_ && controls_.cmdNext && controls_.cmdNext->isEnabled())
            controls_.cmdNext->animateClick();
    });
}

void Tavola::Form_Load()
{
    Controls& c = controls_;
    state_.giuste = 0;
    state_.sbagliate = 0;
    c.Timer1->stop();
    state_.nome = askText(QStringLiteral("Come ti chiami?"));
    showMessage(QStringLiteral(" ") + state_.nome + QStringLiteral(" vediamo se sei un vero campione  "),
                buttons::kOkOnly);
    c.lblnome1->setCaption(state_.nome);
    state_.sceltalimite = QStringLiteral("9");
    AvviaTempo();
    state_.giuste = 0;
    state_.sbagliate = 0;
    state_.cartella = GetSystemDir();
    if (!prepareRecordFiles()) {
        const QString folder = state_.cartella.isEmpty() ? QStringLiteral("(nessuna cartella per i dati)")
                                                         : QDir::toNativeSeparators(state_.cartella);
        showMessage(QStringLiteral("Non riesco a leggere o a creare i file del record nella cartella \"%1\". "
                                   "Si gioca lo stesso, con il record a zero.")
                        .arg(folder),
                    buttons::kOkOnly);
    }
    state_.tempo = roundToInt16(static_cast<double>(state_.secondi) + 900.0).value_or(900);
    c.lblconto->setCaption(clockText(state_.ore, state_.minuti, state_.secondi));
}

void Tavola::Form_Activate()
{
    cmdNext_Click();
}

void Tavola::Form_Resize()
{
    if (windowState() & Qt::WindowMinimized)
        setWindowTitle(kMinimisedCaption);
}

int Tavola::showMessage(const QString& prompt, int buttonSet, const std::optional<QString>& title)
{
    // While a box is open its event loop would keep the clock ticking under
    // it; the open count holds those ticks back.
    ++openBoxes_;
    const int answer = platform_.messageBox(prompt, buttonSet, title);
    --openBoxes_;
    return answer;
}

QString Tavola::askText(const QString& prompt)
{
    ++openBoxes_;
    const QString answer = platform_.inputBox(prompt);
    --openBoxes_;
    return answer;
}

void Tavola::endProgram()
{
    ended_ = true;
    if (controls_.Timer1)
        controls_.Timer1->stop();
    hide();
    platform_.endProgram();
}

bool Tavola::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != controls_.txtAnswer || event->type() != QEvent::KeyPress)
        return QMainWindow::eventFilter(watched, event);
    const std::optional<std::int16_t> typed = typedCharacterCode(*static_cast<QKeyEvent*>(event));
    if (!typed)
        return false;
    if (ended_)
        return true;
    std::int16_t keyAscii = *typed;
    txtAnswer_KeyPress(keyAscii);
    return keyAscii == 0;  // a code set to 0 drops the key
}

void Tavola::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !ended_)
        Form_Resize();
}

void Tavola::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (!ended_)
        Form_Resize();
}

void Tavola::closeEvent(QCloseEvent* event)
{
    // The close box ends the program at once, with no record check.
    event->accept();
    if (!ended_)
        endProgram();
}

} // namespace numerella
