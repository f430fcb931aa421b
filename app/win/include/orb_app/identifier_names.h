#pragma once
// The registered-identifier name tables are built once, before any window.
namespace orb::app {
void BuildIdentifierNames();
}
