#pragma once

#include "core/settings/advancedsettings_p.h"
#include "core/base/sharedvalues.h"
#include "core/control/context_p.h"
#include "core/control/zuvexal.h"
#include "core/control/zuvexal_p.h"
#include "core/recordset/recordset.h"
#include "core/reporter/reportform_p.h"
#include "core/settings/advancedsetform_p.h"
#include "core/settings/registry.h"

#include "testsupport.h"

#include <gtest/gtest.h>

namespace zuvexal::test {

// n orders: OrderID 1..n, Customer "C<i>", Amount i * 1.5, Photo, Notes
// (empty in the first record).
inline RecordSetPtr makeOrders(int n)
{
    auto records = std::make_shared<RecordSet>();
    records->appendField(QStringLiteral("OrderID"), Ado::adBigInt, 8);
    records->appendField(QStringLiteral("Customer"), Ado::adVarWChar, 40);
    records->appendField(QStringLiteral("Amount"), Ado::adDouble, 8);
    records->appendField(QStringLiteral("Photo"), Ado::adVarWChar, 255);
    records->appendField(QStringLiteral("Notes"), Ado::adDouble, 8);
    records->open();
    for (int i = 1; i <= n; ++i) {
        records->addNew();
        records->setValue(0, qlonglong(i));
        records->setValue(1, QStringLiteral("C%1").arg(i));
        records->setValue(2, i * 1.5);
        records->setValue(3, QStringLiteral("p%1.bmp").arg(i));
        records->setValue(4, i == 1 ? QVariant() : QVariant(double(i)));
        records->update();
    }
    records->moveFirst();
    return records;
}

// A report in a fresh application folder, with a control whose
// MaxRecsPerPage the pages follow. The control holds the process's context;
// when it goes, so does the context with the shared windows, and the next
// test starts from a fresh one.
class ReportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        control = std::make_unique<ZuVexal>();
        context().registry = Registry(folder.file(QStringLiteral("registry.db")), QString());
        shared().AppFolder = folder.path();
        shared().OrganisationName = QStringLiteral("ACME");
    }
    void TearDown() override { control.reset(); }

    Context &context() { return contextOf(*control); }
    SharedValues &shared() { return context().values; }
    SettingsState &settingsState() { return context().settings; }
    ReportForm &reportForm() { return context().reportForm(); }
    AdvancedSetForm &advancedSet() { return context().advancedSet(); }
    bool reportFormExists() { return context().reportFormExists(); }

    // Loads the report window over n records, as an entry point would;
    // `input` says how to read them.
    ReportForm &load(int records, int perPage, ReportInput input = {})
    {
        control->setMaxRecsPerPage(perPage);
        input.records = makeOrders(records);
        input.totalRecords = records;
        input.hostControl = control.get();
        ReportForm &form = reportForm();
        form.setInput(std::move(input));
        form.ensureLoaded();
        return form;
    }

    TempFolder folder;
    std::unique_ptr<ZuVexal> control;
};

} // namespace zuvexal::test
