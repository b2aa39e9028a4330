#include "app/bundled_site.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QTreeWidget>
#include <string>

#include "app/catalogue/catalogue_browser.h"
#include "app/program_main.h"
#include "app/ui/main_window.h"
#include "site/sample_site.h"

namespace zendra {
namespace {

// A loopback port on which nothing listens: one the site had and gave back.
int FreedPort() {
  site::SampleSite probe;
  if (!probe.Start()) return 0;
  const int port = probe.Port();
  probe.Stop();
  return port;
}

std::string AddressOf(int port) { return "https://127.0.0.1:" + std::to_string(port) + "/"; }

TEST(BundledSite, ServedWhenNothingAnswersAtTheBundledAddress) {
  const int port = FreedPort();
  ASSERT_NE(port, 0);
  const auto served = ServeBundledCatalogueIfAbsent(AddressOf(port), port);
  ASSERT_NE(served, nullptr);
  EXPECT_TRUE(served->IsRunning());
  EXPECT_EQ(served->Port(), port);

  // Start-up then finds a filled catalogue at the address it was built with.
  MainWindow window;
  CatalogueBrowser browser(AddressOf(port), window);
  OnMainWindowCreated(window, browser);
  EXPECT_EQ(window.categoryCombo().count(),
            static_cast<int>(site::BundledCatalogue().categories.size()));
  EXPECT_GT(window.fileList().topLevelItemCount(), 0);
  EXPECT_EQ(window.EmptyListNote().toStdString(), "");
}

TEST(BundledSite, NothingStartsForOtherAddressesOrWhenTheSiteRuns) {
  const int port = FreedPort();
  ASSERT_NE(port, 0);
  const std::string elsewhere[] = {
      "https://127.0.0.1:" + std::to_string(port) + "/other/",
      "https://localhost:" + std::to_string(port) + "/",
      "http://127.0.0.1:" + std::to_string(port) + "/",
      "https://catalogue.example/",
      "",
  };
  for (const std::string& url : elsewhere) {
    SCOPED_TRACE(url);
    EXPECT_EQ(ServeBundledCatalogueIfAbsent(url, port), nullptr);
  }

  site::SampleSite running;
  ASSERT_TRUE(running.Start());
  EXPECT_EQ(ServeBundledCatalogueIfAbsent(running.BaseUrl(), running.Port()), nullptr);
  EXPECT_TRUE(running.Log().empty());  // looked at, not asked
}

}  // namespace
}  // namespace zendra
