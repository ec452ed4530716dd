// PageWriter::WriteReportSection on random sections: fields of random ADO
// types and names, values of every kind including NULLs, random page
// figures, advanced settings, sum fields and picture columns. The sections
// of a run go to one page file in a fresh folder, which must then be a
// sequence of quoted records.
#include "fuzzsupport.h"

#include "core/reporter/pagewriter.h"
#include "core/reporter/reportjob.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <array>
#include <cstring>

using namespace zuvexal;
using namespace zuvexal::Ado;

namespace {

constexpr std::array<int, 32> FieldTypes = {
    adEmpty,    adSmallInt,   adInteger,   adSingle,          adDouble,       adCurrency,         adDate,
    adBSTR,     adBoolean,    adVariant,   adDecimal,         adTinyInt,      adUnsignedTinyInt,  adUnsignedSmallInt,
    adUnsignedInt, adBigInt,  adUnsignedBigInt, adGUID,       adBinary,       adChar,             adWChar,
    adNumeric,  adUserDefined, adDBDate,   adDBTime,          adDBTimeStamp,  adVarChar,          adLongVarChar,
    adVarWChar, adLongVarWChar, adVarBinary, adLongVarBinary};
// The attributes FieldKind tells apart, hyperlinks among them.
constexpr std::array<int, 9> Attributes = {adFldUnspecified, 0x60, 90, 102, 106, 118, 122, 230, 234};
const QStringList Names = {"Name", "Amount", "Photo", "Site", "Qty", "When", "Code"};
const QStringList Colors = {"WHITE", "YELLOW", "LIGHTBLUE", "SILVER"};

QString textOf(FuzzedDataProvider &input, size_t max)
{
    return QString::fromStdString(input.ConsumeRandomLengthString(max));
}

QString nameOf(FuzzedDataProvider &input)
{
    return input.ConsumeBool() ? Names[input.ConsumeIntegralInRange<qsizetype>(0, Names.size() - 1)]
                               : textOf(input, 12);
}

QVariant valueOf(FuzzedDataProvider &input, const QString &pictureName)
{
    switch (input.ConsumeIntegralInRange(0, 9)) {
    case 0:
        return {};
    case 1:
        return input.ConsumeIntegral<qint64>();
    case 2:
        return input.ConsumeIntegralInRange(-1000, 1000);
    case 3: {
        // Any bit pattern: NaNs, infinities and subnormals too.
        const auto bits = input.ConsumeIntegral<quint64>();
        double real;
        std::memcpy(&real, &bits, sizeof real);
        return real;
    }
    case 4:
        return input.ConsumeBool();
    case 5:
        return QDate::fromJulianDay(input.ConsumeIntegralInRange<qint64>(-1000000, 6000000));
    case 6:
        return QDateTime::fromMSecsSinceEpoch(input.ConsumeIntegral<qint32>() * qint64(100000));
    case 7:
        return QByteArray::fromStdString(input.ConsumeRandomLengthString(40));
    case 8:
        return pictureName;
    default:
        return textOf(input, 60);
    }
}

RecordSet sectionOf(FuzzedDataProvider &input, const std::vector<Field> &fields, const QString &pictureName)
{
    RecordSet rs;
    for (const Field &f : fields)
        rs.appendField(f.name, f.type, f.definedSize, f.attributes);
    rs.setLockType(adLockOptimistic);
    rs.open();
    const int records = input.ConsumeIntegralInRange(0, 5);
    for (int r = 0; r < records; ++r) {
        rs.addNew();
        for (int f = 0; f < rs.fieldCount(); ++f)
            rs.setValue(f, valueOf(input, pictureName));
        rs.update();
    }
    rs.moveFirst();
    return rs;
}

void fillSettings(FuzzedDataProvider &input, AdvancedSettings &s, const QString &folder)
{
    s.FontName = input.ConsumeBool() ? QStringLiteral("Arial") : textOf(input, 20);
    s.HeaderText = textOf(input, 40);
    s.FooterText = textOf(input, 40);
    s.IncludeNotes = input.ConsumeIntegralInRange<qint16>(-1, 2);
    s.NotesPosition = input.ConsumeIntegralInRange<qint16>(-1, 2);
    s.NotesText = textOf(input, 80);
    s.LogoFile = input.ConsumeBool() ? folder + QStringLiteral("logo file.png") : textOf(input, 30);
    s.SignatureFile = textOf(input, 30);
    s.WebsiteLink = textOf(input, 30);
    s.EmailAddress = textOf(input, 30);
    s.SumCurrentPageOnly = input.ConsumeIntegralInRange<qint16>(-1, 2);
}

// Whether the file is a sequence of whole quoted records (texts may hold
// quotes, so only the ends are certain).
bool wholeRecords(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = file.readAll();
    return text.startsWith('"') && text.endsWith("\"\r\n");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::startApplication(fuzz::Application::Gui);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    QLocale::setDefault(input.ConsumeBool() ? QLocale::c() : QLocale(QLocale::German, QLocale::Germany));
    QTemporaryDir temp;
    const QString folder = temp.path() + QStringLiteral("/my pics/");
    QDir().mkpath(folder);
    const QString pictureName = input.ConsumeBool() ? QStringLiteral(" cat.png ") : textOf(input, 16);
    QFile(folder + QStringLiteral("cat.png")).open(QIODevice::WriteOnly);

    std::vector<Field> fields(size_t(input.ConsumeIntegralInRange(1, 6)));
    QStringList fieldNames;
    for (Field &f : fields) {
        f.name = nameOf(input);
        f.type = input.ConsumeBool() ? input.PickValueInArray(FieldTypes) : input.ConsumeIntegral<int>();
        f.definedSize = input.ConsumeIntegralInRange(0, 300);
        f.attributes = input.PickValueInArray(Attributes);
        fieldNames.append(f.name);
    }

    ReportJob job;

    PagePosition at;
    at.pages = input.ConsumeIntegralInRange(1, 40);
    at.page = input.ConsumeIntegralInRange(1, at.pages);
    at.records = input.ConsumeIntegralInRange(0, 40);
    job.totalRecords = at.records + input.ConsumeIntegralInRange(0, 1000);
    job.advancedSettingsInForce = input.ConsumeBool();
    fillSettings(input, job.settings, folder);
    for (int i = input.ConsumeIntegralInRange(0, 4); i > 0; --i)
        job.sumFields.append({nameOf(input), input.ConsumeBool()});
    job.containPictureFields = input.ConsumeBool();
    for (int i = input.ConsumeIntegralInRange(0, 4); i > 0; --i) {
        job.gridFieldNames.append(nameOf(input));
        job.columnPictureFolders.append(input.ConsumeBool() ? folder : QString());
    }
    // The columns: mostly fields of the section, sometimes names it lacks.
    QStringList columns;
    for (int i = input.ConsumeIntegralInRange(1, 6); i > 0; --i)
        columns.append(input.ConsumeIntegralInRange(0, 4) > 0
                           ? fieldNames[input.ConsumeIntegralInRange<qsizetype>(0, fieldNames.size() - 1)]
                           : nameOf(input));
    const QString color = input.ConsumeBool() ? Colors[input.ConsumeIntegralInRange<qsizetype>(0, 3)]
                                              : textOf(input, 10);
    const QString file = temp.path() + u'/'
        + (input.ConsumeBool() ? QStringLiteral("Report%1.htm").arg(at.page)
                               : textOf(input, 12).remove(u'/').prepend(u'p'));

    RecordSet source = sectionOf(input, fields, pictureName);
    const int sourceChoice = input.ConsumeIntegralInRange(0, 2);
    if (sourceChoice != 0)
        job.sourceFields = fieldsOf(source);

    PageWriter writer;
    const qint32 sectionCount = at.records / 5;
    bool written = false;
    for (qint32 k = 0; k <= sectionCount && k < 3 && input.remaining_bytes() > 0; ++k) {
        RecordSet section = sectionOf(input, fields, pictureName);
        if (sourceChoice == 2)
            job.sourceFields = fieldsOf(section);
        const QString name = k == 0 ? QStringLiteral("Vol %1").arg(at.page) : QStringLiteral("Section%1").arg(k);
        written = writer.WriteReportSection(file, section, qint32(columns.size()), columns, name, sectionCount, color,
                                            job, at) || written;
    }
    if (written)
        fuzz::require(wholeRecords(file), "a written page file is whole quoted records", file);
    return 0;
}
