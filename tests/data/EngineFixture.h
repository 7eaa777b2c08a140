#pragma once
// A test run on both engines over fresh databases opened through the data module.
#include "common/Messages.h"
#include "data/ReferenceDatabase.h"
#include "data/TFormMain.h"
#include "data/TestEngines.h"

#include <gtest/gtest.h>

#include <memory>

class TEngineFixture : public ::testing::TestWithParam<TEngine> {
protected:
    // The reference database, and the plot database when asked; the test skips where the engine is missing.
    // Callers return when IsSkipped() or HasFatalFailure().
    void OpenDatabases(bool plotDatabase) {
        db_ = std::make_unique<TTestDatabases>(GetParam());
        ZEMLYAR_REQUIRE_ENGINE(*db_);
        db_->WriteConnectionFiles();
        module_ = std::make_unique<TFormMain>();
        ASSERT_TRUE(module_->OpenReferenceDatabase()) << LastErrorText.toStdString();
        if (plotDatabase) ASSERT_TRUE(module_->OpenPlotDatabase()) << LastErrorText.toStdString();
    }
    // The reference database filled from the small reference sources of the tests.
    void BuildSmallReference() {
        QString error;
        ASSERT_TRUE(BuildReferenceDatabase(module_->ADOQueryRef, SmallReferenceSources(), &error))
            << error.toStdString();
    }
    void TearDown() override {
        module_.reset();
        db_.reset();
    }

    std::unique_ptr<TTestDatabases> db_;
    std::unique_ptr<TFormMain> module_;
};
