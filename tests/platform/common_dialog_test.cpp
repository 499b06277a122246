#include "platform/common_dialog.h"
#include "support/case_names.h"

#include <gtest/gtest.h>

namespace pelix::platform {
namespace {

struct FilterCase {
    const char* filter;
    QStringList expected;
};

class DialogFilter : public ::testing::TestWithParam<FilterCase> {};

TEST_P(DialogFilter, BecomesNameFilters) {
    EXPECT_EQ(nameFiltersFromCommonDialogFilter(QString::fromLatin1(GetParam().filter)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Filters, DialogFilter,
                         ::testing::Values(FilterCase{"Pelix Video Files (*.BIN)|*.BIN|All Files (*.*)|*.*",
                                                      {"Pelix Video Files (*.BIN *.bin)", "All Files (*)"}},
                                           FilterCase{"AVI Files (*.avi)|*.avi", {"AVI Files (*.avi *.AVI)"}},
                                           FilterCase{"Pictures|*.bmp;*.Png",
                                                      {"Pictures (*.bmp *.BMP *.Png *.png *.PNG)"}},
                                           FilterCase{"Dangling description", {}}, FilterCase{"", {}}),
                         [](const auto& info) {
                             // The description before the patterns names the case.
                             const std::string_view filter = info.param.filter;
                             return pelix::testing::caseName(filter.substr(0, filter.find_first_of("(|")));
                         });

TEST(CommonDialog, ATypedNameTakesTheExtensionOfTheFileTypePicked) {
    for (const auto& [filter, suffix] : std::initializer_list<std::pair<const char*, const char*>>{
             {"AVI Files|*.avi|MP4 Files|*.mp4", "avi"},
             {"MP4 Files|*.mp4", "mp4"},
             {"All Files (*.*)|*.*", ""},
             {"Numbered|*.b?n", ""},
             {"Pictures|*.bmp;*.png", "bmp"}}) {
        const QStringList names = nameFiltersFromCommonDialogFilter(QString::fromLatin1(filter));
        ASSERT_FALSE(names.isEmpty()) << filter;
        EXPECT_EQ(defaultSuffixOfNameFilter(names.constFirst()), QString::fromLatin1(suffix)) << filter;
    }
    EXPECT_EQ(nameFiltersFromCommonDialogFilter("AVI Files (*.avi)|*.avi|MP4 Files (*.mp4)|*.mp4").value(1),
              "MP4 Files (*.mp4 *.MP4)");
    EXPECT_EQ(defaultSuffixOfNameFilter("no patterns"), "");
}

TEST(CommonDialog, AnswerReplacesTheModalDialog) {
    CommonDialog dialog;
    EXPECT_EQ(dialog.objectName(), "CommDlg");
    dialog.setFilter("A|*.a");
    QString seenFilter;
    CommonDialog::setOpenAnswer([&](const CommonDialog& d) {
        seenFilter = d.filter();
        return QStringLiteral("/data/SCAN01.BIN");
    });
    dialog.ShowOpen();
    EXPECT_EQ(seenFilter, "A|*.a");
    EXPECT_EQ(dialog.FileName(), "/data/SCAN01.BIN");
    CommonDialog::setOpenAnswer([](const CommonDialog&) { return QString(); });
    dialog.ShowOpen();
    EXPECT_TRUE(dialog.FileName().isEmpty()); // a cancelled dialog names nothing
    CommonDialog::setOpenAnswer({});
}

} // namespace
} // namespace pelix::platform
