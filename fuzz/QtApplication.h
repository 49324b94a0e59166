#pragma once
// The fuzz entries that drive widgets need an application; the first call makes
// one (offscreen unless QT_QPA_PLATFORM says otherwise), later calls find it.

namespace zeko::fuzz {

void EnsureApplication();

} // namespace zeko::fuzz
