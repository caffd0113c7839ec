// The floor the game's footprint is measured against: a plain Qt program that
// shows what the game shows and nothing of its own. A name prompt and a
// greeting titled like the game's, then a maximised window in the Fusion
// style with one label in each of the board's faces and sizes, and one sound
// on the first Enter. Any key after that is ignored; the close box ends it.
#include <QApplication>
#include <QCoreApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QSoundEffect>
#include <QUrl>
#include <QMainWindow>
#include <QMessageBox>
#include <QStyleFactory>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Numerella del dieci");

struct Face {
    const char* family;
    const char* fallback;
    double points;
    bool bold;
    bool italic;
};

// The faces and sizes the board's captions use, with the fallbacks the game
// asks for where the Windows fonts are missing.
constexpr Face kFaces[] = {
    {"Arial", "Liberation Sans", 48, true, false},
    {"Arial", "Liberation Sans", 48, false, false},
    {"Times New Roman", "Liberation Serif", 36, true, false},
    {"MS Sans Serif", "Liberation Sans", 24, false, false},
    {"MS Sans Serif", "Liberation Sans", 24, true, true},
    {"MS Sans Serif", "Liberation Sans", 18, false, false},
    {"MS Sans Serif", "Liberation Sans", 13.5, true, false},
    {"Arial Black", "Liberation Sans", 12, true, false},
};

class FloorWindow : public QMainWindow {
public:
    FloorWindow()
    {
        setWindowTitle(QStringLiteral("Floor"));
        auto* board = new QWidget(this);
        auto* column = new QVBoxLayout(board);
        int number = 1;
        for (const Face& face : kFaces) {
            QFont font;
            font.setFamilies({QString::fromLatin1(face.family), QString::fromLatin1(face.fallback),
                              QStringLiteral("sans-serif")});
            font.setPointSizeF(face.points);
            font.setWeight(face.bold ? QFont::Bold : QFont::Normal);
            font.setItalic(face.italic);
            auto* label = new QLabel(QStringLiteral("10 X %1 = %2").arg(number).arg(number * 10), board);
            label->setFont(font);
            column->addWidget(label);
            ++number;
        }
        setCentralWidget(board);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
            playOnce();
        QMainWindow::keyPressEvent(event);
    }

private:
    void playOnce()
    {
        if (played_)
            return;
        played_ = true;
        sound_.setSource(QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + QStringLiteral("/suoni/no.wav")));
        sound_.play();
    }

    bool played_ = false;
    QSoundEffect sound_;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    bool ok = false;
    const QString name = QInputDialog::getText(nullptr, kTitle, QStringLiteral("Come ti chiami?"),
                                               QLineEdit::Normal, QString(), &ok);
    if (!ok)
        return 0;
    QMessageBox::information(nullptr, kTitle, QStringLiteral("Ciao %1").arg(name));

    FloorWindow window;
    window.showMaximized();
    return QApplication::exec();
}
