#include "app/home_page.h"

#include "app/fixed_values.h"
#include "app/globals.h"
#include "app/main_window.h"
#include "platform/window/controls.h"
#include "text/extract_between.h"
#include "text/text_primitives.h"
#include "web/decode_response_text.h"
#include "web/web_request.h"

namespace zendra {
namespace {

// The site answers a visit without its cookie with this page; a site that never stops
// answering so would otherwise keep the start-up waiting for ever.
constexpr int kMaxRedirectPageRepeats = 10;

// Without cookies on the first visit; afterwards with the running cookie text, which
// takes in the cookies of each answer.
Text RequestHomePage(Text* cookies, Text& returnedCookies) {
  const Bytes body = WebRequest(CatalogueBaseUrl(), {.method = 0,
                                                     .cookies = cookies,
                                                     .returnedCookies = &returnedCookies,
                                                     .headers = UserAgentLine(),
                                                     .noRedirect = true});
  return DecodeResponseText(body);
}

bool IsRedirectPage(const Text& page) { return FindText(page, "<title>302 Found</title>") != -1; }

}  // namespace

void LoadHomePage(MainWindow& window) {
  Text returnedCookies;
  Text page = RequestHomePage(nullptr, returnedCookies);
  SiteCookies = returnedCookies;
  for (int repeat = 0; repeat < kMaxRedirectPageRepeats && IsRedirectPage(page); ++repeat)
    page = RequestHomePage(&SiteCookies, returnedCookies);

  ExtractBetween(page, "data-menuid=\"", "\" data-target", CategoryIds);
  TextArray names;
  for (const Text& id : CategoryIds) {
    ExtractBetween(page, id + "\">", "</a></h4></div><div id=\"collapse_" + id, names);
    // An id without a name still gets its item, so that item k keeps belonging to id k.
    ComboAddItem(window.categoryCombo(), names.empty() ? Text() : names.front());
  }
  SetCurrentSelection(window.categoryCombo(), 0);
}

}  // namespace zendra
