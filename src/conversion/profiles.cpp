#include "conversion/profiles.h"

namespace pixdraft {
namespace {

// Every profile but the plain drawing: millimetres, no squares for the transparent background,
// and the origin at the raster's lower-left corner, so Inkscape's page holds the drawing and
// OpenSCAD and FreeCAD see positive coordinates.
void ForMakers(ConversionOptions& options) {
  options.fit.leaveOutTransparent = true;
  options.drawing.origin = Origin::BottomLeft;
  options.drawing.units = ParseUnit("mm");
  options.drawing.layers = true;
}

// Each region of one colour one shape, its outline on the pixel edges.
void Regions(ConversionOptions& options, EntityKind entity) {
  ForMakers(options);
  options.drawing.merge = Merge::Regions;
  options.drawing.entity = entity;
}

constexpr Profile kProfiles[] = {
    {"plain", "one square per pixel, as the window has always drawn it", [](ConversionOptions&) {}},
    {"laser", "laser cutters and CNC: closed outlines per region on a layer per colour",
     [](ConversionOptions& options) {
       Regions(options, EntityKind::Polyline);
       options.drawing.leaveOutBackground = true;
       options.drawing.colourIndex = true;
     }},
    {"cad", "CAD programs: each region filled as a hatch, on a layer per colour",
     [](ConversionOptions& options) {
       Regions(options, EntityKind::Hatch);
       options.drawing.colourIndex = true;
     }},
    {"3d", "OpenSCAD and FreeCAD: outlines that extrude into a closed solid per colour",
     [](ConversionOptions& options) {
       Regions(options, EntityKind::Polyline);
       options.drawing.leaveOutBackground = true;
       options.drawing.partCorners = true;
     }},
    {"vector", "Inkscape and web viewers: filled regions and their outlines, on the page",
     [](ConversionOptions& options) {
       Regions(options, EntityKind::Hatch);
       options.drawing.outlines = true;
       options.drawing.colourIndex = true;
     }},
    {"mosaic", "tile, bead and brick plans: one hatch per tile in a palette's colours, counted",
     [](ConversionOptions& options) {
       ForMakers(options);
       options.drawing.entity = EntityKind::Hatch;
       options.drawing.colourIndex = true;
     },
     true, true},
};

}  // namespace

std::span<const Profile> Profiles() { return kProfiles; }

const Profile* FindProfile(std::string_view name) {
  for (const Profile& profile : kProfiles) {
    if (profile.name == name) return &profile;
  }
  return nullptr;
}

std::string ProfileNames() {
  std::string names;
  for (const Profile& profile : kProfiles) {
    if (!names.empty()) names += ", ";
    names += profile.name;
  }
  return names;
}

}  // namespace pixdraft
