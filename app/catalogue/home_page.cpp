#include "app/catalogue/catalogue_browser.h"
#include "app/catalogue/fixed_values.h"
#include "platform/automation/factories.h"
#include "text/extract_between.h"
#include "text/first_piece_per_key.h"
#include "text/text_primitives.h"
#include "web/decode_response_text.h"
#include "web/web_request.h"

namespace zendra {
namespace {

// The site answers a visit without its cookie with this page; a site that never stops
// answering so would otherwise keep the start-up waiting for ever.
constexpr int kMaxRedirectPageRepeats = 10;

bool IsRedirectPage(const Text& page) { return FindText(page, "<title>302 Found</title>") != -1; }

}  // namespace

// Without cookies on the first visit; afterwards with the running cookie text, which
// takes in the cookies of each answer. The request object is our own so that a failure
// can be told apart afterwards.
Text CatalogueBrowser::RequestHomePage(Text* cookies, Text& returnedCookies) {
  const ObjectRef<HttpRequest> request = CreateHttpRequest();
  homePage_ = HomePageOutcome();
  if (request.IsEmpty()) return Text();
  const Bytes body = WebRequest(baseUrl_, {.method = 0,
                                           .cookies = cookies,
                                           .returnedCookies = &returnedCookies,
                                           .headers = UserAgentLine(),
                                           .status = &homePage_.status,
                                           .noRedirect = true,
                                           .requestObject = request});
  homePage_.failure = request.Call(&HttpRequest::LastSendFailure);
  return DecodeResponseText(body);
}

void CatalogueBrowser::LoadHomePage() {
  Text returnedCookies;
  Text page = RequestHomePage(nullptr, returnedCookies);
  state_.SiteCookies = returnedCookies;
  for (int repeat = 0; repeat < kMaxRedirectPageRepeats && IsRedirectPage(page); ++repeat)
    page = RequestHomePage(&state_.SiteCookies, returnedCookies);

  ExtractBetween(page, "data-menuid=\"", "\" data-target", state_.CategoryIds);
  // The ids are the site's text: each is looked for as it stands, never as pattern text,
  // and all of them in a few passes over the page instead of one pass per id. An id
  // without a name still gets its item, so that item k keeps belonging to id k.
  view_.FillList(CatalogueList::Categories,
                 FirstPiecePerKey(page, state_.CategoryIds, "\">",
                                  "</a></h4></div><div id=\"collapse_"));
  view_.SelectItem(CatalogueList::Categories, 0);
}

}  // namespace zendra
