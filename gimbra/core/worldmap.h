// The world map of the satellite view: a coarse coastline of the continents,
// large islands and island groups as polylines of latitude/longitude points.
#pragma once

namespace gimbra {

// Entries 0 ... 1064 of the world-map table. Entry 0 is (0, 0); an entry
// (0, 0) ends a polyline.
inline constexpr int WorldMapSize = 1065;

struct WorldMap {
  float WorldMapLat[WorldMapSize] = {};  // deg, north latitude
  float WorldMapLon[WorldMapSize] = {};  // deg, east longitude (a few points past 180)
};

// One point of the generated coastline table (tools/coastline/).
struct CoastPoint {
  float Lat;  // deg, north
  float Lon;  // deg, east
};

// The generated coastline: entries 1 ... CoastlineCount of the world-map
// table, polylines separated by (0, 0); every later entry is (0, 0).
inline constexpr int CoastlineCount = 1064;
extern const CoastPoint Coastline[CoastlineCount];

// Sets the whole table to its constant contents (entry 0 and every entry not
// holding a point are 0). Nothing is written outside the two arrays.
void FillWorldMap(WorldMap& map);

// True when table entry k (0 ... 1064) ends a polyline: latitude and
// longitude both 0. A point with only one zero coordinate (on the equator or
// the prime meridian) is a point like any other.
bool EndsPolyline(const WorldMap& map, int k);

}  // namespace gimbra
