// The help page is compiled in, so it is always there whatever directory the
// program runs in.
#include "shell/window/HelpWindow.h"

#include <QTextBrowser>
#include <QVBoxLayout>

namespace qv {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("helpWindow");
    setWindowTitle("Quorvel Help");
    auto* col = new QVBoxLayout(this);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName("helpText");
    browser_->setOpenLinks(true);
    browser_->setHtml(QString::fromUtf8(page()));
    col->addWidget(browser_);
    resize(760, 680);
}

void HelpWindow::showHelp() {
    show();
    raise();
    activateWindow();
}

const char* HelpWindow::page() {
    return R"HTML(
<h1>Quorvel</h1>
<p>Quorvel listens to position reports of packet-radio stations (from a TNC on a serial port or from an
APRS-IS server), tracks up to eight stations and writes import files for desktop mapping programs.</p>

<h2>The window</h2>
<h3>Status band (top)</h3>
<ul>
<li><b>Status field</b>: the word for what the program is doing right now (for example
<i>InspectingDataLine</i>, <i>SavingChanges</i>). Information only.</li>
<li><b>Report kind</b>: shows what kind of line was seen last: yellow <i>Mic-E</i>, orange <i>$GPGGA</i>,
<i>$GPRMC</i>, <i>$GPWGT</i>, <i>$GPWPL</i> (or <i>$GNRMC</i> and the like from other satellite systems), green
<i>@moving</i>, <i>!DIGI/=Fixed</i> and <i>APRS Message</i>, cyan <i>Compressed</i> positions, pink
<i>Object</i>, lilac <i>Item</i>, light red <i>Killed</i> objects and items, gray <i>Processing not
available</i>.</li>
<li><b>IN com port</b>, <b>Open Port</b>, <b>Close Port</b>: the TNC. Choose it under <i>Ports &gt; Change Com
Port settings</i>, which lists the serial devices present: a port number or a device such as
<i>/dev/ttyUSB0</i> for a TNC in text monitor mode, <i>kiss:/dev/rfcomm0</i> for a KISS TNC on a serial or
Bluetooth device, <i>kiss-tcp:127.0.0.1:8001</i> or <i>agw:127.0.0.1:8000</i> for a network TNC such as a
soundcard modem. Port 0 means no TNC and hides these buttons. Beside a KISS or AGWPE TNC the field shows its
state (connecting, connected, gone and tried again every 5 seconds) and the frames it passed on, those of other
kinds and broken ones. <i>Ports &gt; Set My callsign</i> is the callsign a reply goes out from through such a
TNC.</li>
<li><b>EXIT</b>: ends the program after asking. <i>File &gt; Exit</i> ends it at once.</li>
</ul>
<h3>Incoming data</h3>
<p>The line last received. Its colour tells the source: cyan from the serial port, pink from APRS-IS,
yellow right after the port was opened. You can type or paste a line here and <b>double-click</b> it to
process it as if it had been received. <i>Ports &gt; Display the "Send to Com Port" box</i> shows a field for
commands to the TNC.</p>
<h3>Station report</h3>
<p>The station ID, the name it is tracked under, latitude and longitude in decimal degrees (south and west
negative) and the raw text handed to the decoder. Double-click the station ID to clear all CALL IDs.
The <b>Detect</b> switches turn the decoders for each kind of report on or off; <b>Sound ON</b> beeps on data.
<i>Detect compressed</i> and <i>Detect objects/items</i> are kept in the configuration. An object or item (a spot
fire, an aid station placed by some station) is tracked under its own name, such as <i>AID 2</i>, not under its
sender; one reported killed writes nothing.</p>
<h3>Tracked stations (Color Assignment)</h3>
<p>Eight slots A to H, each with its own colour. Type a station's ID into <b>UNIT callsign</b> (letter case does
not matter; <i>N0CALL-9</i> and <i>N0CALL</i> are different stations), optionally a <b>Tactical Name</b>, and tick
<b>TRACKING "ON"</b> to have its reports written to the map files. With <i>Auto-assign incoming stations</i> on,
new stations fill free slots by themselves. Double-click a CALL ID or tactical name to clear it; double-click the
slot letter to see the raw line last processed for it (also its tool-tip).</p>
<p><b>Last Heard</b> shows when the station was last heard, and its colour tells its state:</p>
<ul>
<li>green: moved (about 300-500 feet or more) or new;</li>
<li>red: heard again at exactly the same position;</li>
<li>gray: heard, only minor movement;</li>
<li>yellow: tracked and not heard for longer than the <b>Overdue Warning</b> minutes.</li>
</ul>
<p><i>Track/Map only if Green (Moving)</i> writes a tracked station only when it moved; a move of a station
whose tracking is off lets the next tracked report through as well.</p>

<h2>Map options</h2>
<p>Choose the map program on the right. Each choice switches on the file family that program reads and offers
the display types it supports:</p>
<ul>
<li><b>Street Atlas</b>: <i>quorvelSA5now.txt</i> (current positions with callsigns) and <i>quorvelSA5.txt</i>.</li>
<li><b>MapTech</b> (standard, version 6 or PRO) and <b>DeLorme TopoUSA</b>: <i>quorvel.mxf</i> (markers),
<i>quorvel.rxf</i> (route with connecting lines), <i>quorvel.txf</i> (tracks).</li>
<li><b>Nat. Geo. TOPO!</b>: <i>quorvelNGTOPO.txt</i> (track), <i>quorvelNGTOPOnow.txt</i> (current),
<i>quorvelNGTOPOnowCall.txt</i> (current with callsigns).</li>
<li><b>OziExplorer "Live" Post</b>: positions go straight into a running OziExplorer through its programming
library. Where that library cannot be loaded (on Linux it never can) Quorvel says so once and keeps writing
<i>quorvel.wpt</i> and the track files, so no position is lost.</li>
<li><b>OTHER maps</b>: all file families are written; import them by hand.</li>
</ul>
<p><b>POST to map NOW</b> imports the new positions into the map program; <i>Turn on timed AUTO-Import</i> does it
once a minute. The button under it (<i>Manual Street Atlas Import</i>, <i>IMPORT to MapTech and Archive</i>,
<i>Manual Import Delorme TopoUSA</i> or <i>Manual Import Nat.Geo. TOPO!</i>, after the map program chosen) runs
that program's import at once. The map program must be running with its map shown; Quorvel types only into
other programs' windows, never into its own. A posting that finds no file to import leaves the new positions
waiting for the next one. <b>ARCHIVE Current Data files</b> appears when there are new positions; it moves the MapTech and
OziExplorer files into the <i>data</i> folder so the next posting imports only new positions.
<i>File &gt; Map file creation On/Off</i> switches single file families; <i>File &gt; Data file management</i>
deletes them.</p>
<p>The path buttons under the options (<i>MapTech file...</i>, <i>Street Atlas file...</i>, <i>TOPO! file...</i>)
open <b>Select a File for Map Posting</b> showing only that program's files; <i>Configuration &gt; Browse for a
file to Auto-Import</i> opens it showing every file. Double-click a folder on the left to open it (<i>..</i> goes
up), highlight the file the map program should import and press <b>SAVE as Auto-Import path</b> (or
double-click the file); <b>CANCEL</b> keeps the path you had.</p>
<p>The button at the top of the map options covers them, so a stray click during an operation cannot switch the
map program; click the cover to uncover them.</p>

<h2>Situation map</h2>
<p>The map pane shows each slot's track in the slot's colour and its last position as a marker with the slot
letter and its name (the tactical name when <i>Post TACTICAL names to map</i> is on); the name's background is
the colour of its <b>Last Heard</b> state, so moving, standing and overdue stations show at a glance. It is
redrawn with every report written to the map files and every overdue check. Drag the map to move it, turn the
wheel or press <b>+</b> and <b>-</b> to zoom; <b>Fit all stations</b> shows every station and keeps them in view
until you move the map; <b>Follow</b> keeps one station in the middle. The tracks are those in the Ozi track
files <i>quorvelID1.plt</i> .. <i>quorvelID8.plt</i>; deleting those files clears them.</p>
<p>Under the tracks lie map tiles, by default from OpenStreetMap (&copy; OpenStreetMap contributors), fetched in
the background and kept in a cache on disk; without tiles (offline, or <i>Window &gt; Map Tiles</i> off) the map
is a latitude/longitude grid with a scale bar. <i>Window &gt; Map Tile Address</i> sets another tile server or a
tile set on disk (<code>file:///...{z}/{x}/{y}.png</code>). <i>Window &gt; Situation Map</i> shows or hides the
pane; drag its title to dock it on another side of the window or to float it. Where it is, and the tile
settings, are kept in <i>quorvel.cfg</i>.</p>
<h2>Files written (in the working directory)</h2>
<table border="1" cellpadding="3" cellspacing="0">
<tr><td>quorvel.cfg</td><td>the settings, rewritten whenever one changes</td></tr>
<tr><td>quorvel.err</td><td>error entries (trimmed to the last 1001 lines at start)</td></tr>
<tr><td>quorvel.log</td><td>debug log of received lines, while <i>Help &gt; Toggle Debug Log</i> is on</td></tr>
<tr><td>quorvel.mxf, .rxf, .txf, quorvelhistory.mxf, .rxf</td><td>MapTech / TopoUSA markers, route, track, history</td></tr>
<tr><td>quorvel.wpt, quorvelID1.plt .. quorvelID8.plt</td><td>OziExplorer waypoints and per-slot tracks</td></tr>
<tr><td>quorvelSA5.txt, quorvelSA5now.txt</td><td>Street Atlas</td></tr>
<tr><td>quorvelNGTOPO.txt, quorvelNGTOPOnow.txt, quorvelNGTOPOnowCall.txt</td><td>National Geographic TOPO!</td></tr>
<tr><td>quorvel.olt</td><td>SPOTFIRES file (when the SPOTFIRES box is ticked)</td></tr>
<tr><td>quorvel.gpx, quorvel.kml, quorvel.geojson</td><td>the tracked stations for GIS, virtual globes and web maps
(GPX, KML, GeoJSON); open <i>quorvellive.kml</i> in a virtual globe to see the stations move</td></tr>
<tr><td>quorvelmessages.txt</td><td>APRS message lines received</td></tr>
<tr><td>data/quorvelNN.TXF/.RXF/.MXF/.WPT/.GPX/.KML/.GEOJSON</td><td>archived file sets</td></tr>
</table>

<h2>Starting</h2>
<p><code>quorvel</code> opens this window on the current directory (<code>--workdir DIR</code> on another);
<code>quorvel --telnet</code> connects to APRS-IS at once; <code>quorvel --tnc kiss-tcp:HOST:PORT</code> uses
another TNC for this run only; <code>quorvel t</code> starts with the telnet indicator
shown; <code>quorvel import</code> replays <i>quorvel.imp</i> through the receive path. <code>man quorvel</code>
tells every option, setting and file, and the headless station service.
<i>Window</i> menu: compressed (status band only), normal and maximized views, and the situation map.
<code>quorvel --headless --snapshot map.png import</code> draws the map of a replay into a picture.</p>
)HTML";
}

} // namespace qv
