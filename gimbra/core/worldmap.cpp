// The world-map table: filled from the generated coastline on every Draw.
#include "gimbra/core/worldmap.h"

namespace gimbra {

void FillWorldMap(WorldMap& map) {
  map.WorldMapLat[0] = 0;
  map.WorldMapLon[0] = 0;
  for (int k = 1; k < WorldMapSize; ++k) {
    map.WorldMapLat[k] = Coastline[k - 1].Lat;
    map.WorldMapLon[k] = Coastline[k - 1].Lon;
  }
}

bool EndsPolyline(const WorldMap& map, int k) {
  if (k < 0 || k >= WorldMapSize) return true;
  return map.WorldMapLat[k] == 0 && map.WorldMapLon[k] == 0;
}

}  // namespace gimbra
