// The form's life: setting it up, start-up, the window's own events and the
// boxes the game opens over it.
#include "tavola.h"

#include "clock/countdown.h"
#include "platform/platform.h"
#include "pointers.h"
#include "records/recordkeeper.h"
#include "ui_tavola.h"

#include <QCloseEvent>
#include <QShortcut>

// The pictures are compiled into a static library: register them by hand,
// outside any namespace as the macro requires.
static void registerPictures()
{
    Q_INIT_RESOURCE(assets);
}

namespace numerella {

namespace {
const QString kMinimisedCaption = QStringLiteral("Giocare con la tavola pitagorica");
constexpr int kTickMilliseconds = 1000;

// What the form format cannot say, given to the controls here: fractional
// point sizes ride in a dynamic property, and so does the icon pointer.
void applyFormProperties(QWidget* board)
{
    board->setCursor(boardPointer());
    for (QWidget* control : board->findChildren<QWidget*>()) {
        const QVariant points = control->property("pointSizeF");
        if (points.isValid()) {
            QFont font = control->font();
            font.setPointSizeF(points.toDouble());
            control->setFont(font);
        }
        if (control->property("iconPointer").toBool())
            control->setCursor(iconPointer());
    }
}

// The board's faces are the classic Windows ones; where they are missing the
// metric twins from Liberation stand in.
void substituteFaces()
{
    const QStringList sans{QStringLiteral("Liberation Sans"), QStringLiteral("sans-serif")};
    for (const char* face : {"MS Sans Serif", "Arial", "Arial Black"})
        QFont::insertSubstitutions(QLatin1String(face), sans);
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"),
                               {QStringLiteral("Liberation Serif"), QStringLiteral("serif")});
}

} // namespace

Tavola::Tavola(Platform& platform, QWidget* parent)
    : QMainWindow(parent)
    , platform_(platform)
{
    registerPictures();
    substituteFaces();
    setWindowIcon(QIcon(QStringLiteral(":/assets/icona.ico")));
}

Tavola::~Tavola() = default;

void Tavola::load()
{
    unload();
    setUpForm();
    Form_Load();
    if (ended_)
        return;
    showMaximized();
    cmdNext_Click();  // the first question
}

void Tavola::setUpForm()
{
    ui_ = std::make_unique<Ui::Tavola>();
    ui_->setupUi(this);
    applyFormProperties(ui_->board);
    ui_->board->keepDesign();
    // Command1 lies wholly inside the question button: keep it behind, so the
    // button's face and picture stay whole. Unseen, nameless and doing
    // nothing, it takes no focus either: Tab would rest where no child sees
    // or hears anything.
    ui_->Command1->stackUnder(ui_->cmdNext);
    ui_->Command1->setFocusPolicy(Qt::NoFocus);
    // Answers are digits: no input method is needed. Composed text that
    // comes all the same is filtered like typed keys.
    ui_->txtAnswer->setAttribute(Qt::WA_InputMethodEnabled, false);
    ui_->txtAnswer->installEventFilter(this);
    resize(Board::kDesignSize + QSize(0, ui_->menuBar->sizeHint().height()));

    Timer1 = new QTimer(ui_->board);
    Timer1->setInterval(kTickMilliseconds);
    Timer1->start();
    connect(Timer1, &QTimer::timeout, this, &Tavola::deliverTick);

    const auto whenAlive = [this](void (Tavola::*handler)()) {
        return [this, handler] {
            if (!ended_)
                (this->*handler)();
        };
    };
    connect(ui_->cmdNext, &QPushButton::clicked, this, whenAlive(&Tavola::cmdNext_Click));
    connect(ui_->cmdExit, &QPushButton::clicked, this, whenAlive(&Tavola::cmdExit_Click));
    connect(ui_->Next, &QAction::triggered, this, whenAlive(&Tavola::Next_Click));
    // The question button is the window's cancel button: Escape presses it
    // while it is enabled.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), ui_->board);
    connect(escape, &QShortcut::activated, this, [this] {
        if (!ended_ && ui_->cmdNext->isEnabled())
            ui_->cmdNext->animateClick();
    });
}

void Tavola::unload()
{
    if (!ui_)
        return;
    hide();
    Timer1->stop();
    ui_->txtAnswer->removeEventFilter(this);
    // Deleted once control is back in the event loop: the menu item that
    // asked for the reload may still be delivering its signal.
    for (QObject* old : std::initializer_list<QObject*>{takeCentralWidget(), ui_->v, ui_->a, ui_->Next})
        old->deleteLater();
    setMenuWidget(nullptr);  // the old bar goes later too
    ui_.reset();
}

void Tavola::Form_Load()
{
    state_.giuste = 0;
    state_.sbagliate = 0;
    Timer1->stop();
    state_.nome = askText(QStringLiteral("Come ti chiami?"));
    showMessage(QStringLiteral(" ") + state_.nome + QStringLiteral(" vediamo se sei un vero campione  "),
                buttons::kOkOnly);
    ui_->lblnome1->setCaption(state_.nome);
    AvviaTempo();
    const QString problem = prepareRecordFiles();
    if (!problem.isEmpty())
        showMessage(problem + QStringLiteral(" Si gioca lo stesso, con il record a zero."), buttons::kOkOnly);
    state_.tempo = 900;  // the race's ticks, counted from here
    ui_->lblconto->setCaption(clockText(state_.ore, state_.minuti, state_.secondi));
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
    if (Timer1)
        Timer1->stop();
    hide();
    platform_.endProgram();
}

bool Tavola::eventFilter(QObject* watched, QEvent* event)
{
    if (ui_ && watched == ui_->txtAnswer && event->type() == QEvent::KeyPress)
        return txtAnswer_KeyPress(*static_cast<QKeyEvent*>(event));
    if (ui_ && watched == ui_->txtAnswer && event->type() == QEvent::InputMethod)
        return answerBoxComposedText(*static_cast<QInputMethodEvent*>(event));
    return QMainWindow::eventFilter(watched, event);
}

void Tavola::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !ended_ && isMinimized())
        setWindowTitle(kMinimisedCaption);
}

void Tavola::closeEvent(QCloseEvent* event)
{
    // The close box ends the program at once, with no record check.
    event->accept();
    if (!ended_)
        endProgram();
}

} // namespace numerella
