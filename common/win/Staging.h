// Staging: the whole package unpacked into the staging folder, with the product name list,
// package version, package date and installed file count published on the way.
#pragma once

namespace tk {
class Component;
class Gauge;
class Label;
class Memo;
}  // namespace tk

namespace pub {

// Opens Setup.pak of the setup folder with owner as the archive's owner (the archive stays
// open, unshared, until the owner goes) and extracts every entry into the staging folder,
// one gauge step, status text and memo line per entry. Every entry name is checked before
// anything is written: a name that would leave the staging folder refuses the package. True
// when every entry was handled; false on any error, which is shown nowhere here.
bool UnpackPackage(tk::Component* owner, tk::Gauge* gauge, tk::Label* label, tk::Memo* memo);

}  // namespace pub
