#pragma once

#include "core/settings/registry.h"

#include "testsupport.h"

#include <gtest/gtest.h>

// Points the settings functions at a fresh registry file for one test.
class RegistryTest : public ::testing::Test
{
protected:
    void SetUp() override { zuvexal::setRegistry(zuvexal::Registry(file(), QString())); }
    void TearDown() override { zuvexal::setRegistry(zuvexal::Registry::fromEnvironment()); }
    QString file() const { return folder.file(QStringLiteral("registry.db")); }

    zuvexal::test::TempFolder folder;
};
