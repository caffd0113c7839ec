// The shaded background: 256 full-width bands from no blue at the top to
// full blue at the bottom, at the sizes the board really has.
#include "quiz/shading.h"

#include <QtTest>

#include <vector>

using namespace numerella;

class ShadingTest : public QObject {
    Q_OBJECT
private slots:
    void bandsFillTheImage_data();
    void bandsFillTheImage();
    void tinySizesDoNotCrash();
    void bandOfRowEdges();
    void bandColourClampsItsInputs();
};

void ShadingTest::bandsFillTheImage_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("tono");
    for (const QSize size : {QSize(792, 554), QSize(1920, 1080), QSize(3840, 2160), QSize(300, 256)}) {
        for (const int tono : {0, 7, 14})
            QTest::addRow("%dx%d tono %d", size.width(), size.height(), tono) << size << tono;
    }
}

void ShadingTest::bandsFillTheImage()
{
    QFETCH(QSize, size);
    QFETCH(int, tono);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::magenta);  // nothing of this may be left
    paintShading(image, std::int16_t(tono));

    const int level = 10 * tono;
    std::vector<int> bandRows(256, 0);
    int previousBlue = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        const QRgb colour = row[0];
        for (int x = 1; x < image.width(); ++x) {
            if (row[x] != colour)
                QFAIL(qPrintable(QStringLiteral("row %1 not solid at x=%2").arg(y).arg(x)));
        }
        QCOMPARE(qRed(colour), level);
        QCOMPARE(qGreen(colour), level);
        const int blue = qBlue(colour);
        QVERIFY2(blue >= previousBlue, qPrintable(QStringLiteral("blue falls at row %1").arg(y)));
        QCOMPARE(blue, bandOfRow(y, image.height()));
        ++bandRows[blue];
        previousBlue = blue;
    }
    QCOMPARE(qBlue(image.pixel(0, 0)), 0);
    QCOMPARE(qBlue(image.pixel(0, image.height() - 1)), 255);
    const double ideal = image.height() / 256.0;
    for (int band = 0; band < 256; ++band) {
        QVERIFY2(bandRows[band] > 0, qPrintable(QStringLiteral("band %1 missing").arg(band)));
        QVERIFY2(std::abs(bandRows[band] - ideal) <= 1.0,
                 qPrintable(QStringLiteral("band %1 has %2 rows").arg(band).arg(bandRows[band])));
    }
}

void ShadingTest::tinySizesDoNotCrash()
{
    for (const QSize size : {QSize(1, 1), QSize(3, 100), QSize(100, 3), QSize(1, 255), QSize(0, 0)}) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        paintShading(image, 14);
        int previousBlue = -1;
        for (int y = 0; y < image.height(); ++y) {
            const int blue = qBlue(image.pixel(0, y));
            QVERIFY(blue >= previousBlue && blue <= 255);
            QCOMPARE(qRed(image.pixel(image.width() - 1, y)), 140);
            QCOMPARE(image.pixel(image.width() - 1, y), image.pixel(0, y));
            previousBlue = blue;
        }
    }
    QImage null;
    paintShading(null, 3);
    QVERIFY(null.isNull());
}

void ShadingTest::bandOfRowEdges()
{
    QCOMPARE(bandOfRow(0, 0), 0);
    QCOMPARE(bandOfRow(5, -3), 0);
    QCOMPARE(bandOfRow(0, 1), 128);  // a one-row image shows the middle band
    for (int row = 0; row < 256; ++row)
        QCOMPARE(bandOfRow(row, 256), row);
    for (int row = 0; row < 512; ++row)
        QCOMPARE(bandOfRow(row, 512), row / 2);
    QCOMPARE(bandOfRow(0, 554), 0);
    QCOMPARE(bandOfRow(553, 554), 255);
    QCOMPARE(bandOfRow(1000, 554), 255);  // past the bottom stays the last band
    // Heights where 2 * row * 256 overflows 32 bits still give sane bands.
    QCOMPARE(bandOfRow(0, 20'000'000), 0);
    QCOMPARE(bandOfRow(19'999'999, 20'000'000), 255);
    QCOMPARE(bandOfRow(10'000'000, 20'000'000), 128);
}

void ShadingTest::bandColourClampsItsInputs()
{
    QCOMPARE(bandColour(0, 0), qRgb(0, 0, 0));
    QCOMPARE(bandColour(255, 14), qRgb(140, 140, 255));
    QCOMPARE(bandColour(300, 30), qRgb(255, 255, 255));
    QCOMPARE(bandColour(-1, -2), qRgb(0, 0, 0));
}

QTEST_APPLESS_MAIN(ShadingTest)
#include "test_shading.moc"
