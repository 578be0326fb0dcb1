// The map import files by bare name, and the error marker every file-writing
// step logs its failures with.
#pragma once

namespace qv::mapfile {

inline constexpr const char* kSavefilesMarker = " in SUB SAVEFILES ";

inline constexpr const char* kTxf = "quorvel.txf";
inline constexpr const char* kRxf = "quorvel.rxf";
inline constexpr const char* kMxf = "quorvel.mxf";
inline constexpr const char* kHistoryMxf = "quorvelhistory.mxf";
inline constexpr const char* kHistoryRxf = "quorvelhistory.rxf";

inline constexpr const char* kWpt = "quorvel.wpt";

inline constexpr const char* kSa5 = "quorvelSA5.txt";
inline constexpr const char* kSa5Now = "quorvelSA5now.txt";
inline constexpr const char* kSa5NowTmp = "quorvelSA5now.tmp";

inline constexpr const char* kTopo = "quorvelNGTOPO.txt";
inline constexpr const char* kTopoNow = "quorvelNGTOPOnow.txt";
inline constexpr const char* kTopoNowCall = "quorvelNGTOPOnowCall.txt";
inline constexpr const char* kTopoNowCallTmp = "quorvelNGTOPOnowCall.tmp";

inline constexpr const char* kSpotfires = "quorvel.olt";
inline constexpr const char* kOutOfOregon = "outoforegon";

// The open formats, and where another program's version of each is kept.
inline constexpr const char* kGpx = "quorvel.gpx";
inline constexpr const char* kKml = "quorvel.kml";
inline constexpr const char* kLiveKml = "quorvellive.kml";
inline constexpr const char* kGeoJson = "quorvel.geojson";
inline constexpr const char* kGpxKept = "quorvelreplaced.gpx";
inline constexpr const char* kKmlKept = "quorvelreplaced.kml";
inline constexpr const char* kGeoJsonKept = "quorvelreplaced.geojson";

} // namespace qv::mapfile
