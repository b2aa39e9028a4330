#pragma once

#include "platform/types.h"

namespace zendra {

// The catalogue state carried from one handler to the next. Item k of a combo box
// (from 0) belongs to element k of its id array.
extern Text SiteCookies;
extern TextArray CategoryIds;
extern TextArray ProductIds;
extern TextArray ProductNames;
extern Text CurrentProductId;
extern TextArray LanguageIds;
extern TextArray LanguageNames;
extern TextArray FileIds;

// Every global empty: the arrays with no elements, the texts empty.
void CreateGlobals();
// Releases every global with all its elements.
void FreeGlobals();

}  // namespace zendra
