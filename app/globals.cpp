#include "app/globals.h"

namespace zendra {

Text SiteCookies;
TextArray CategoryIds;
TextArray ProductIds;
TextArray ProductNames;
Text CurrentProductId;
TextArray LanguageIds;
TextArray LanguageNames;
TextArray FileIds;

namespace {
template <class T>
void Release(T& value) {
  T().swap(value);
}
}  // namespace

void CreateGlobals() { FreeGlobals(); }

void FreeGlobals() {
  Release(SiteCookies);
  Release(CategoryIds);
  Release(ProductIds);
  Release(ProductNames);
  Release(CurrentProductId);
  Release(LanguageIds);
  Release(LanguageNames);
  Release(FileIds);
}

}  // namespace zendra
