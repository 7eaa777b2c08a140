// The codifier tree: lazy levels, placeholders, "Обрати" and "Знайти по ID".
#include "valuation/KatottgTree.h"
#include "common/RecordingSink.h"
#include "data/EngineFixture.h"
#include "data/ReferenceDatabase.h"
#include "data/SqlHelpers.h"
#include "data/TFormMain.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

QString U(const char* s) {
    return QString::fromUtf8(s);
}

class KatottgTreeTest : public TEngineFixture {
protected:
    void SetUp() override {
        OpenDatabases(false);
        if (IsSkipped() || HasFatalFailure()) return;
        BuildSmallReference();
        if (HasFatalFailure()) return;
        model_ = std::make_unique<TKatottgTreeModel>(&module_->ADOQueryRef);
    }
    void TearDown() override {
        model_.reset();
        TEngineFixture::TearDown();
    }
    QStringList Texts(const QModelIndex& parent) const {
        QStringList out;
        for (int i = 0; i < model_->rowCount(parent); ++i)
            out << model_->NodeText(model_->index(i, 0, parent));
        return out;
    }
    // The child whose text contains the piece.
    QModelIndex Child(const QModelIndex& parent, const char* piece) const {
        for (int i = 0; i < model_->rowCount(parent); ++i) {
            const QModelIndex idx = model_->index(i, 0, parent);
            if (model_->NodeText(idx).contains(U(piece))) return idx;
        }
        return {};
    }

    TRecordingSink sink_;
    std::unique_ptr<TKatottgTreeModel> model_;
};

TEST_P(KatottgTreeTest, LevelsLoadWhenExpanded) {
    ASSERT_TRUE(model_->Fill());
    EXPECT_EQ(Texts({}), (QStringList{U("(O)UA01000000000013043 - Автономна Республіка Крим"),
                                      U("(O)UA74000000000025378 - Чернігівська")}));
    const QModelIndex oblast = model_->index(1, 0);
    EXPECT_TRUE(model_->HasPlaceholder(oblast));
    EXPECT_EQ(Texts(oblast), QStringList{U("завантаження...")});

    ASSERT_TRUE(model_->ExpandNode(oblast));
    EXPECT_EQ(Texts(oblast), QStringList{U("(P)UA74040000000028062 - Ніжинський")});
    const QModelIndex district = model_->index(0, 0, oblast);
    EXPECT_TRUE(model_->HasPlaceholder(district));
    ASSERT_TRUE(model_->ExpandNode(district));
    EXPECT_EQ(Texts(district), (QStringList{U("(H)UA74040050000013413 - Бобровицька"),
                                            U("(H)UA74040170000037628 - Крутівська")}));
    const QModelIndex community = model_->index(0, 0, district);
    ASSERT_TRUE(model_->ExpandNode(community));
    const QModelIndex town = Child(community, "Бобровиця");
    ASSERT_TRUE(town.isValid());
    EXPECT_EQ(model_->NodeCat(town), QStringLiteral("M"));
    EXPECT_EQ(model_->rowCount(town), 0); // an M without B rows is a leaf
    const QModelIndex village = Child(community, "Браниця");
    EXPECT_EQ(model_->NodeCat(village), QStringLiteral("C"));
    EXPECT_EQ(model_->rowCount(village), 0);
    EXPECT_EQ(model_->parent(village), community);

    // An M with city districts gets a placeholder, and its B children are leaves.
    const QModelIndex crimea = model_->index(0, 0);
    ASSERT_TRUE(model_->ExpandNode(crimea));
    ASSERT_TRUE(model_->ExpandNode(model_->index(0, 0, crimea)));
    const QModelIndex simferopol = model_->index(0, 0, model_->index(0, 0, crimea));
    ASSERT_TRUE(model_->ExpandNode(simferopol));
    const QModelIndex city = model_->index(0, 0, simferopol);
    EXPECT_TRUE(model_->HasPlaceholder(city));
    ASSERT_TRUE(model_->ExpandNode(city));
    EXPECT_EQ(Texts(city).size(), 3);
    EXPECT_EQ(model_->rowCount(model_->index(0, 0, city)), 0);
    // Expanding again changes nothing.
    ASSERT_TRUE(model_->ExpandNode(city));
    EXPECT_EQ(Texts(city).size(), 3);
    EXPECT_TRUE(sink_.messages.isEmpty());
}

TEST_P(KatottgTreeTest, ChooseNeedsASettlementOrCommunity) {
    ASSERT_TRUE(model_->Fill());
    EXPECT_EQ(model_->ChooseId({}), QString());
    EXPECT_EQ(sink_.LastText(), U("Не обрано запис."));
    const QModelIndex oblast = model_->index(1, 0);
    EXPECT_EQ(model_->ChooseId(oblast), QString());
    EXPECT_EQ(sink_.LastText(), U("Деталізуйте вибір до НП або ТГ."));
    EXPECT_EQ(model_->ChooseId(model_->index(0, 0, oblast)), QString()); // the placeholder
    EXPECT_EQ(sink_.LastText(), U("Не обрано запис."));
    ASSERT_TRUE(model_->ExpandNode(oblast));
    const QModelIndex district = model_->index(0, 0, oblast);
    EXPECT_EQ(model_->ChooseId(district), QString());
    EXPECT_EQ(sink_.LastText(), U("Деталізуйте вибір до НП або ТГ."));
    ASSERT_TRUE(model_->ExpandNode(district));
    sink_.Clear();
    EXPECT_EQ(model_->ChooseId(model_->index(0, 0, district)), QStringLiteral("013413"));
    EXPECT_TRUE(sink_.messages.isEmpty());
    EXPECT_EQ(sink_.messages.size(), 0);
}

TEST_P(KatottgTreeTest, FindByIdWalksDownTheCodes) {
    ASSERT_TRUE(model_->Fill());
    struct Case {
        const char* search;
        const char* node;    // text of the node found, "" for none
        const char* message; // warning shown, "" for none
    };
    const Case cases[] = {
        {" 084586 ", "(M)UA74040050010084586 - Бобровиця", ""},
        {"013413", "(H)UA74040050000013413 - Бобровицька", ""},
        {"143565", "(B)UA01160330010143565 - Залізничний", ""},
        {"12345", "", "ID повинен мати 6 цифр"},
        {"1234567", "", "ID повинен мати 6 цифр"},
        {"'or'1", "", "ID повинен мати 6 цифр"},
        {"12%45_", "", "ID повинен мати 6 цифр"},
        {"999999", "", "ID \"999999\" не знайдено."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.search);
        sink_.Clear();
        const QModelIndex found = model_->FindById(U(c.search));
        EXPECT_EQ(model_->NodeText(found), U(c.node));
        EXPECT_EQ(sink_.LastText(), U(c.message));
    }
}

TEST_P(KatottgTreeTest, QueryFailuresAreShown) {
    TDataQuery& q = module_->ADOQueryRef;
    ASSERT_TRUE(model_->Fill());
    ASSERT_TRUE(RunSql(q, QStringLiteral("DROP TABLE кодифікатор"), false, false))
        << LastErrorText.toStdString();
    EXPECT_FALSE(model_->ExpandNode(model_->index(0, 0)));
    EXPECT_TRUE(sink_.LastText().startsWith(U("Операція: Запит кодів коатуу\rПомилка: ")))
        << sink_.LastText().toStdString();
    EXPECT_TRUE(model_->HasPlaceholder(model_->index(0, 0)));
    EXPECT_FALSE(model_->Fill());
    EXPECT_TRUE(sink_.LastText().startsWith(U("Операція: Запит кодів\rПомилка: ")))
        << sink_.LastText().toStdString();
    EXPECT_EQ(model_->rowCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, KatottgTreeTest, ::testing::Values(TEngine::Sqlite, TEngine::Postgres),
                         [](const auto& info) { return EngineName(info.param); });

} // namespace
