#include "app/catalogue/empty_catalogue.h"

namespace zendra {

std::string EmptyCatalogueReason(const HomePageOutcome& outcome) {
  switch (outcome.failure) {
    case SendFailure::Unreachable:
      return "site unreachable";
    case SendFailure::Tls:
      return "TLS failure";
    case SendFailure::Other:
      return "no answer from the site";
    case SendFailure::None:
      break;
  }
  // No failure and no status: there was no request object to send with.
  if (outcome.status == 0) return "no answer from the site";
  if (outcome.status != 200) return "HTTP status " + std::to_string(outcome.status);
  return "no catalogue in the answer";
}

}  // namespace zendra
