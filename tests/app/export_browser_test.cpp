// The exported pages in a real browser (headless Chromium): the page shows
// its notes' text and pictures and no markup from captions, the site's
// frames load and every index link reaches its heading, the map's picture
// loads and each area lies over its node's caption.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/run_vetra.h"

namespace vetra::test {
namespace {

// Loads `page` in a frame of a checking page whose script leaves "RESULT ..."
// in the DOM, and returns that line.
std::string checkInBrowser(const std::string& dir, const std::string& page,
                           const std::string& script) {
    const std::string harness = dir + "check_" + page;
    std::ofstream(harness) << "<html><head><meta charset=utf-8></head><body><div id=out>RESULT "
                              "pending</div><iframe id=f src='"
                           << page
                           << "' width=1200 height=900></iframe><script>\n"
                              "function frameDoc(w){return w.document;}\n"
                              "window.onload=function(){var w=document.getElementById('f')."
                              "contentWindow;var bad=[];try{"
                           << script
                           << "}catch(e){bad.push('error '+e);}document.getElementById('out')."
                              "textContent='RESULT '+(bad.length?bad.join('; '):'ok');};\n"
                              "</script></body></html>";
    const TRun run = runCommand(
        "timeout 120 chromium --headless --no-sandbox --disable-gpu --allow-file-access-from-files "
        "--virtual-time-budget=5000 --dump-dom 'file://" +
        harness + "'");
    const size_t at = run.out.find("RESULT");
    return at == std::string::npos ? "no result: " + run.err.substr(0, 400)
                                   : run.out.substr(at, run.out.find('<', at) - at);
}

TEST(ExportInBrowser, PageSiteAndMap) {
    if (runCommand("command -v chromium").status != 0) GTEST_SKIP() << "chromium is not installed";
    const std::string dir = workDir(true, ".d/");
    const std::string doc = std::string(VETRA_TEST_DATA) + "/export_notes.vt";
    for (const char* command : {"--export-html", "--export-site", "--export-map"}) {
        const std::string out = std::string(command) == "--export-html"   ? "page.html"
                                : std::string(command) == "--export-site" ? "site.html"
                                                                          : "tree_map.html";
        ASSERT_EQ(runCommand(std::string("VETRA_TEXT_MODE=1 ") + VETRA_BINARY + " " + command +
                             " " + doc + " " + dir + out)
                      .status,
                  0)
            << command;
    }
    EXPECT_EQ(checkInBrowser(dir, "page.html", R"js(
        var d = frameDoc(w), text = d.body.innerText.replace(/\u00a0/g, ' ');
        ['中文笔记', 'red big', 'green', 'bullet item', '繁體', '€', 'before', 'after',
         '<script>alert(1)<' + '/script>', '" onmouseover="alert(2)', "' onclick='alert(3)"]
            .forEach(function(t){ if (text.indexOf(t) < 0) bad.push('missing ' + t); });
        if (d.querySelectorAll('script,[onmouseover],[onclick]').length) bad.push('markup');
        if (d.querySelectorAll('a[href^="javascript"]').length) bad.push('script link');
        var imgs = d.images;
        if (imgs.length != 2) bad.push('images ' + imgs.length);
        for (var i = 0; i < imgs.length; ++i)
            if (!imgs[i].complete || imgs[i].naturalWidth == 0) bad.push('image not loaded');
        if (d.characterSet.toLowerCase() != 'gbk') bad.push('charset ' + d.characterSet);
    )js"),
              "RESULT ok");
    EXPECT_EQ(checkInBrowser(dir, "site.html", R"js(
        if (w.frames.length != 3) bad.push('frames ' + w.frames.length);
        var main = frameDoc(w.frames[0]), sub = frameDoc(w.frames[1]), page = frameDoc(w.frames[2]);
        [main, sub, page].forEach(function(d, i){
            if (d.readyState != 'complete' || d.body.innerText.length == 0) bad.push('frame ' + i); });
        var links = sub.querySelectorAll('a[href]');
        if (links.length != 5) bad.push('sub-index links ' + links.length);
        links.forEach(function(a){
            var name = a.hash.substring(1);
            if (page.getElementsByName(name).length != 1) bad.push('no heading ' + name);
            if (a.target != w.frames[2].name) bad.push('target ' + a.target); });
        main.querySelectorAll('a[href]').forEach(function(a){
            if (sub.getElementsByName(a.hash.substring(1)).length != 1) bad.push('no entry ' + a.hash); });
    )js"),
              "RESULT ok");
    EXPECT_EQ(checkInBrowser(dir, "tree_map.html", R"js(
        var d = frameDoc(w), img = d.images[0];
        if (!img.complete || img.naturalWidth == 0) bad.push('picture not loaded');
        if (!/\.png$/.test(img.getAttribute('src'))) bad.push('picture is not the PNG');
        if (d.characterSet.toLowerCase() != 'gbk') bad.push('charset ' + d.characterSet);
        var canvas = d.createElement('canvas');
        canvas.width = img.naturalWidth; canvas.height = img.naturalHeight;
        var g = canvas.getContext('2d'); g.drawImage(img, 0, 0);
        var areas = d.querySelectorAll('area');
        if (areas.length != 8) bad.push('areas ' + areas.length);
        var background = g.getImageData(1, 1, 1, 1).data;
        for (var i = 0; i < areas.length - 3; ++i) {
            var c = areas[i].coords.split(',').map(Number);
            var px = g.getImageData(c[0], c[1], c[2] - c[0], c[3] - c[1]).data, ink = 0;
            for (var k = 0; k < px.length; k += 4)
                if (Math.abs(px[k] - background[0]) + Math.abs(px[k + 2] - background[2]) > 120) ++ink;
            if (ink < 10) bad.push('area ' + i + ' over no caption');
        }
        if (d.querySelectorAll('area[href^="javascript"]').length) bad.push('script link');
        for (var i = areas.length - 3; i < areas.length; ++i)
            if (areas[i].hasAttribute('href')) bad.push('banner leads out');
    )js"),
              "RESULT ok");
}

}  // namespace
}  // namespace vetra::test
