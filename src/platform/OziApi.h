// The OziExplorer programming library: the five calls live posting makes, with
// their arguments in the library's order. Each call fails (throws a Failure)
// when the library is missing or OziExplorer does not answer.
#pragma once

#include <string>

namespace qv {

class OziApi {
public:
    virtual ~OziApi() = default;

    // Whether the library could be loaded at all. Without it no call can
    // succeed, so live posting falls back to the waypoint file.
    virtual bool loaded() const { return true; }

    virtual int oziDeleteWpByName(const std::string& name) = 0;
    virtual int oziCreateTrackPoint(int trackNum, int code, double lat, double lon, double altitude,
                                    double pointDate) = 0;
    virtual int oziCreateWP(const std::string& name, int symbol, double lat, double lon, double altitude, double wpDate,
                            int mapDisplayFormat, int pointerDirection, int garminDisplayFormat, int foreColor,
                            int backColor, int proximityDistance, const std::string& description, int fontSize,
                            int fontStyle, int symbolSize) = 0;
    virtual int oziRefreshMap() = 0;
    virtual int oziSaveWPfile(const std::string& fileName) = 0;
};

// Where the library cannot be loaded (every platform but the one OziExplorer
// runs on): each call fails with error 48, "Error in loading DLL", so the
// caller logs it and goes on.
class MissingOziApi final : public OziApi {
public:
    bool loaded() const override { return false; }
    int oziDeleteWpByName(const std::string&) override;
    int oziCreateTrackPoint(int, int, double, double, double, double) override;
    int oziCreateWP(const std::string&, int, double, double, double, double, int, int, int, int, int, int,
                    const std::string&, int, int, int) override;
    int oziRefreshMap() override;
    int oziSaveWPfile(const std::string&) override;
};

} // namespace qv
