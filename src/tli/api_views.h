#pragma once

#include "tli/type_lib.h"

namespace vantor::tli {

// Turns the stored form a reader fills in into the form the type services present:
// - a dual dispinterface (stored once, in interface form, base in its implemented type) gets
//   its interface view moved aside and a synthesized dispatch view in its place;
// - every member shows the name, doc and parameter names of the first member with its id.
// Needs the imported libraries already resolved (the dispatch views inherit from them).
// `dispatchRef` is the library's reference to IDispatch.
void presentViews(TypeLibData& data, qint32 dispatchRef);

} // namespace vantor::tli
