#include <optional>
#include <string>
#include <vector>

#include "app/catalogue/empty_catalogue.h"
#include "app/cli/arguments.h"
#include "app/cli/command_context.h"
#include "app/cli/pick.h"
#include "app/cli/progress_line.h"
#include "app/cli/subcommand.h"
#include "app/cli/table_output.h"
#include "platform/codepage/code_page.h"

namespace zendra::cli {
namespace {

// Column titles: the labels of the window's three lists and the titles of its file list.
constexpr const char* kPositionColumn = "ID";
constexpr const char* kIdColumn = "id";
constexpr const char* kCategoryColumn = "软件类目";
constexpr const char* kProductColumn = "软件名称";
constexpr const char* kLanguageColumn = "语言版本";
constexpr std::size_t kNameColumn = 1;
constexpr std::size_t kSha1Column = 2;
constexpr std::size_t kLinkColumn = 5;
const std::vector<std::string> kFileColumns{"ID",       "文件名",   "SHA1",
                                            "文件大小", "发布时间", "下载链接"};

// The items of a list that a pick can name: those with an id, as the window's handlers
// do nothing for an item without one.
std::vector<PickItem> Pickable(const CommandContext& context, CatalogueList list,
                               const TextArray& ids) {
  const auto& names = context.view.Items(list);
  std::vector<PickItem> items;
  for (std::size_t i = 0; i < names.size() && i < ids.size(); ++i) {
    items.push_back({names[i], Utf8FromCp936(ids[i])});
  }
  return items;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Where the cascade stands after the steps a subcommand needed.
struct Position {
  std::size_t category = 0;
  std::size_t product = 0;
  std::size_t language = 0;
  bool filesIncomplete = false;
};

// Each step returns kExitSuccess to go on, or the status the subcommand ends with.
int PickFrom(CommandContext& context, const std::vector<PickItem>& items,
             const std::optional<std::string>& value, const std::string& what,
             const std::string& emptyMessage, std::size_t& index) {
  if (!value) {
    // The window's start-up takes the first item.
    if (items.empty()) return context.Fail(kExitNoCatalogue, emptyMessage);
    index = 0;
    return kExitSuccess;
  }
  const Pick pick = ResolvePick(what, *value, items);
  if (!pick.index) {
    if (items.empty()) return context.Fail(kExitNoCatalogue, emptyMessage);
    context.err << "zendra: " << pick.error << std::flush;
    return kExitUsage;
  }
  index = *pick.index;
  return kExitSuccess;
}

int PickItemOf(CommandContext& context, CatalogueList list, const TextArray& ids,
               const std::optional<std::string>& value, const std::string& what,
               const std::string& emptyMessage, std::size_t& index) {
  return PickFrom(context, Pickable(context, list, ids), value, what, emptyMessage, index);
}

// The same words as the window's note on an empty catalogue.
std::string HomePageFailure(const CommandContext& context) {
  return "no catalogue from " + Utf8FromCp936(context.browser.BaseUrl()) + ": " +
         EmptyCatalogueReason(context.browser.LastHomePage());
}

int LoadCategories(CommandContext& context) {
  context.browser.LoadHomePage();
  if (context.browser.State().CategoryIds.empty()) {
    return context.Fail(kExitNoCatalogue, HomePageFailure(context));
  }
  return kExitSuccess;
}

int LoadProducts(CommandContext& context, const Invocation& invocation, Position& at) {
  if (const int status = LoadCategories(context)) return status;
  const auto& state = context.browser.State();
  if (const int status =
          PickItemOf(context, CatalogueList::Categories, state.CategoryIds, invocation.category,
                     "category", "no categories", at.category)) {
    return status;
  }
  context.browser.LoadProducts(state.CategoryIds[at.category]);
  return kExitSuccess;
}

int LoadLanguages(CommandContext& context, const Invocation& invocation, Position& at) {
  if (const int status = LoadProducts(context, invocation, at)) return status;
  const auto& state = context.browser.State();
  const std::string category = context.view.Items(CatalogueList::Categories)[at.category];
  if (const int status =
          PickItemOf(context, CatalogueList::Products, state.ProductIds, invocation.product,
                     "product", "category " + Quoted(category) + " has no products", at.product)) {
    return status;
  }
  context.browser.LoadLanguages(state.ProductIds[at.product],
                                CatalogueBrowser::LanguageCascade::ListOnly);
  return kExitSuccess;
}

int LoadFiles(CommandContext& context, const Invocation& invocation, Position& at) {
  if (const int status = LoadLanguages(context, invocation, at)) return status;
  const auto& state = context.browser.State();
  const std::string product = context.view.Items(CatalogueList::Products)[at.product];
  if (const int status =
          PickItemOf(context, CatalogueList::Languages, state.LanguageIds, invocation.language,
                     "language", "product " + Quoted(product) + " has no languages", at.language)) {
    return status;
  }
  ProgressLine progress(context.err, context.errIsTerminal);
  context.view.SetRowProgress(
      [&](std::size_t rows) { progress.Show(rows, context.browser.State().FileIds.size()); });
  context.browser.LoadFiles(state.LanguageIds[at.language]);
  context.view.SetRowProgress(nullptr);
  at.filesIncomplete = context.view.Rows().size() < state.FileIds.size();
  return kExitSuccess;
}

std::string IncompleteFiles(const CommandContext& context) {
  return "only " + std::to_string(context.view.Rows().size()) + " of " +
         std::to_string(context.browser.State().FileIds.size()) +
         " file details could be read; the list ends there";
}

Table ListTable(const CommandContext& context, CatalogueList list, const TextArray& ids,
                const char* nameColumn) {
  Table table;
  table.columns = {kPositionColumn, kIdColumn, nameColumn};
  const auto items = Pickable(context, list, ids);
  for (std::size_t i = 0; i < items.size(); ++i) {
    table.rows.push_back({std::to_string(i + 1), items[i].id, items[i].name});
  }
  return table;
}

int RunCategories(const Invocation& invocation, CommandContext& context) {
  if (const int status = LoadCategories(context)) return status;
  WriteTable(context.out,
             ListTable(context, CatalogueList::Categories, context.browser.State().CategoryIds,
                       kCategoryColumn),
             invocation.format);
  return kExitSuccess;
}

int RunProducts(const Invocation& invocation, CommandContext& context) {
  Position at;
  if (const int status = LoadProducts(context, invocation, at)) return status;
  WriteTable(context.out,
             ListTable(context, CatalogueList::Products, context.browser.State().ProductIds,
                       kProductColumn),
             invocation.format);
  return kExitSuccess;
}

int RunLanguages(const Invocation& invocation, CommandContext& context) {
  Position at;
  if (const int status = LoadLanguages(context, invocation, at)) return status;
  // Without languages the window's list shows a placeholder that names none.
  WriteTable(context.out,
             ListTable(context, CatalogueList::Languages, context.browser.State().LanguageIds,
                       kLanguageColumn),
             invocation.format);
  return kExitSuccess;
}

int RunFiles(const Invocation& invocation, CommandContext& context) {
  Position at;
  if (const int status = LoadFiles(context, invocation, at)) return status;
  WriteTable(context.out, {kFileColumns, context.view.Rows()}, invocation.format);
  if (at.filesIncomplete) return context.Fail(kExitNoCatalogue, IncompleteFiles(context));
  return kExitSuccess;
}

int PrintFileCell(const Invocation& invocation, CommandContext& context, std::size_t column) {
  Position at;
  if (const int status = LoadFiles(context, invocation, at)) return status;
  std::vector<PickItem> files;
  for (const auto& row : context.view.Rows()) files.push_back({row[kNameColumn], {}});
  const std::string language = context.view.Items(CatalogueList::Languages)[at.language];
  const std::string empty = "language " + Quoted(language) + " has no files";
  // A file that is missing because the list broke off is the site's fault, not the user's.
  if (at.filesIncomplete && !ResolvePick("file", *invocation.file, files).index) {
    return context.Fail(kExitNoCatalogue, IncompleteFiles(context));
  }
  std::size_t row = 0;
  if (const int status = PickFrom(context, files, invocation.file, "file", empty, row)) {
    return status;
  }
  WriteValue(context.out, kFileColumns[column], context.view.Rows()[row][column],
             invocation.format);
  return kExitSuccess;
}

int RunLink(const Invocation& invocation, CommandContext& context) {
  return PrintFileCell(invocation, context, kLinkColumn);
}

int RunSha1(const Invocation& invocation, CommandContext& context) {
  return PrintFileCell(invocation, context, kSha1Column);
}

constexpr unsigned kListPicks = kCategoryOption | kProductOption | kLanguageOption;

}  // namespace

const std::vector<Subcommand>& Subcommands() {
  static const std::vector<Subcommand> table{
      {"categories", {}, 0, 0, 0, "the categories of the catalogue", RunCategories},
      {"products", {}, 0, kCategoryOption, 0, "the products of a category", RunProducts},
      {"languages",
       {},
       0,
       kCategoryOption | kProductOption,
       0,
       "the languages of a product",
       RunLanguages},
      {"files", {}, 0, kListPicks, 0, "the files of a product in one language", RunFiles},
      {"link",
       {},
       0,
       kListPicks | kFileOption,
       kFileOption,
       "the download link of one file",
       RunLink},
      {"sha1",
       {},
       0,
       kListPicks | kFileOption,
       kFileOption,
       "the SHA1 digest of one file",
       RunSha1},
  };
  return table;
}

const Subcommand* FindSubcommand(std::string_view name) {
  for (const Subcommand& command : Subcommands()) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

}  // namespace zendra::cli
