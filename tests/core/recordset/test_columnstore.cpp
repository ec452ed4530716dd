#include "core/recordset/columnstore.h"

#include <QByteArray>
#include <QString>

#include <limits>
#include <random>
#include <vector>

#include <gtest/gtest.h>

using namespace zuvexal;
using namespace zuvexal::Ado;

namespace {

// Every value of the column against the model, through both ways of reading.
void expectColumn(const ColumnStore &column, const std::vector<QVariant> &model, const char *when)
{
    ASSERT_EQ(column.size(), qint64(model.size())) << when;
    for (qint64 row = 0; row < column.size(); ++row) {
        const QVariant &expected = model[size_t(row)];
        ASSERT_EQ(column.isNull(row), expected.isNull()) << when << ", row " << row;
        ASSERT_EQ(column.value(row), expected) << when << ", row " << row;
    }
}

} // namespace

// The compact layout: integers in 32 bits until one needs 64, texts in one
// arena with rows set after loading held apart until it is rebuilt. Random
// appends and sets, with copies taken along the way, must read back as a
// plain list of values does.
TEST(ColumnStore, CompactColumnsReadBackWhatWasAppendedAndSet)
{
    std::mt19937_64 random(12);
    const auto pick = [&](int n) { return int(random() % unsigned(n)); };

    ColumnStore numbers(adBigInt);
    ColumnStore texts(adVarWChar);
    std::vector<QVariant> numberModel, textModel;
    const auto number = [&]() -> QVariant {
        switch (pick(6)) {
        case 0: return {};
        case 1: return QVariant(qlonglong(1) << (32 + pick(30))); // past 32 bits
        case 2: return QVariant(qlonglong(std::numeric_limits<qint32>::min()) - pick(2));
        default: return QVariant(qlonglong(pick(2000000) - 1000000));
        }
    };
    const auto text = [&]() -> QVariant {
        if (pick(8) == 0)
            return {};
        return QVariant(QString(pick(4) == 0 ? QStringLiteral("ä") : QStringLiteral("t")).repeated(pick(40)));
    };

    for (int step = 0; step < 20000; ++step) {
        // Mostly appends, with the values of the first 5000 steps narrow so
        // that the widening happens in the middle of a column.
        const bool narrowOnly = step < 5000;
        if (numberModel.empty() || pick(3) != 0) {
            QVariant n = number();
            if (narrowOnly && n.isValid() && (n.toLongLong() > std::numeric_limits<qint32>::max()
                                              || n.toLongLong() < std::numeric_limits<qint32>::min()))
                n = QVariant(qlonglong(7));
            numbers.append(n);
            numberModel.push_back(n);
            const QVariant t = text();
            texts.append(t);
            textModel.push_back(t);
        } else {
            const qint64 row = pick(int(numberModel.size()));
            const QVariant n = number();
            numbers.set(row, n);
            numberModel[size_t(row)] = n;
            const QVariant t = text();
            texts.set(row, t);
            textModel[size_t(row)] = t;
        }
        if (step == 4999)
            expectColumn(numbers, numberModel, "narrow numbers");
    }
    expectColumn(numbers, numberModel, "after appends and sets");
    expectColumn(texts, textModel, "after appends and sets");

    // Copies of a range, of the whole and of a copy that is set again.
    const qint64 first = 1234, count = 5000;
    const auto part = texts.copyRange(first, count);
    const auto numberPart = numbers.copyRange(first, count);
    expectColumn(*part, {textModel.begin() + first, textModel.begin() + first + count}, "a copied range");
    expectColumn(*numberPart, {numberModel.begin() + first, numberModel.begin() + first + count},
                 "a copied range of numbers");
    auto whole = texts.copyRange(0, texts.size());
    std::vector<QVariant> wholeModel = textModel;
    for (qint64 row = 0; row < whole->size(); row += 3) {
        whole->set(row, QVariant(QStringLiteral("again %1").arg(row)));
        wholeModel[size_t(row)] = QStringLiteral("again %1").arg(row);
    }
    expectColumn(*whole, wholeModel, "a copy with every third row set");
    expectColumn(texts, textModel, "the original after its copy was set");
}

// A column of bytes keeps NUL and high bytes, and one value that is no
// bytes moves the column to variants without losing the others.
TEST(ColumnStore, BytesSurviveSetsAndTheMoveToVariants)
{
    ColumnStore bytes(adVarBinary);
    const QByteArray zeros("\0\xff\0", 3);
    bytes.append(QVariant(zeros));
    bytes.append(QVariant(QByteArray("b")));
    bytes.set(0, QVariant(QByteArray("longer than before")));
    bytes.set(1, QVariant(QByteArray()));
    bytes.append(QVariant(zeros));
    EXPECT_EQ(bytes.value(0), QVariant(QByteArray("longer than before")));
    EXPECT_EQ(bytes.value(1), QVariant(QByteArray()));
    EXPECT_EQ(bytes.value(2), QVariant(zeros));
    bytes.set(1, QVariant(42));
    EXPECT_TRUE(bytes.isHeterogeneous());
    EXPECT_EQ(bytes.value(0), QVariant(QByteArray("longer than before")));
    EXPECT_EQ(bytes.value(1), QVariant(42));
    EXPECT_EQ(bytes.value(2), QVariant(zeros));
}
