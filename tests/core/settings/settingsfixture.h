#pragma once

#include "core/settings/registry.h"

#include "testsupport.h"

#include <gtest/gtest.h>

// A fresh registry file for one test.
class RegistryTest : public ::testing::Test
{
protected:
    QString file() const { return folder.file(QStringLiteral("registry.db")); }

    zuvexal::test::TempFolder folder;
    zuvexal::Registry registry{file(), QString()};
};
