#!/usr/bin/env python3
"""Opens the modern pages of a generated sample album in headless Chromium.

The album holds a landscape, a portrait, a square, a 3000 x 400 panorama and a
photograph whose file is missing, three to an index page, published up to
2560 x 1440. On a phone of 390 x 844 held upright and sideways and on desktops
of 1440 x 900 and 2560 x 1440, each at device pixel ratio 1, 2 and 3, every
page must fit the window's width; each photograph must lie wholly inside the
window and take at least 85% of its limiting side (unless shown at its largest
image's full width), upright on the phone first on the screen; every image
must load the smallest of its widths that gives at least one image pixel per
device pixel (never more than 1.7, unless none is smaller); no page may shift
its layout as it loads, and on the phone a photo page's strip of thumbnails,
wider than the window, must show the current one without scrolling the page
(the album's panorama makes it wide). In an index of eighteen thumbnails every
row but the last must fill the width with thumbnails as high as each other,
the last keep its own height, and the rows must grow on the widest window.
The arrow keys, Esc and Up, and swipes of a finger across the photograph must
reach the right pages, with and without the loop setting; without script every link is there
and the photograph still fills the window; every link and image of every page
must resolve to a file of the album; served over http from 127.0.0.1, axe-core
must find no violation on any page, light or dark. Screenshots of the index and
of a photo page at every size, light and dark, and of the index of eighteen on
the desktops go to the screenshot folder.

Runs offline: the pages are opened as files (for axe served from 127.0.0.1)
and the browser resolves no host.
Without Chromium, its driver or Selenium it skips (exit 77), unless
FOLIVANT_REQUIRE_BROWSER=1 (set by tools/test), when it fails.
"""

import argparse
import functools
import http.server
import os
import pathlib
import re
import shutil
import sys
import tempfile
import threading
import time
import urllib.parse

from chromium import Failures, require_browser, run, skip_or_fail, start_browser

PAGE_SIZE = 3  # one row of three thumbnails

# (file, width, height, headline, caption), in album order; the file of the
# one named MISSING is deleted after the album is made.
PICTURES = [
    ("p1_landscape.jpg", 2400, 1600, "Landscape", "Wide hills under a clear sky."),
    ("p2_portrait.jpg", 1600, 2400, "Portrait", "A tall view, & a caption with <angle> brackets."),
    ("p3_square.jpg", 2000, 2000, "Square", "As wide as it is high."),
    ("p4_panorama.jpg", 3000, 400, "Panorama", "The whole ridge from end to end."),
    ("p5_missing.jpg", 1200, 800, "Missing", "This photograph's file is gone."),
]
MISSING = "p5_missing.jpg"
VIEWPORTS = [(390, 844, True), (844, 390, True), (1440, 900, False), (2560, 1440, False)]  # width, height, phone
RATIOS = (1, 2, 3)
# The share of the window's limiting side a photograph takes at least.
LEAST_AREA = 0.85
# Image pixels per device pixel: at least 1 (sharp), at most this (not wasted).
MOST_DENSITY = 1.7
# How much wider than it is shown a thumbnail may be loaded when a smaller width would have been sharp.
THUMBNAIL_SLACK = 1.3
# The photographs of the album whose index fills several rows at every size.
ROWS_ALBUM_SIZE = 18
# The cumulative layout shift a page may show: none that a visitor could see
# (Lighthouse counts below 0.1 as good), with room for a sub-pixel settling
# that Chromium reports now and then on a loaded machine.
MOST_LAYOUT_SHIFT = 0.01


def set_album_element(album, name, value):
    text = album.read_text(encoding="utf-8")
    text, count = re.subn(f"<{name}>[^<]*</{name}>", f"<{name}>{value}</{name}>", text)
    if count != 1:
        sys.exit(f"modern_pages: {album} has no single <{name}>")
    album.write_text(text, encoding="utf-8")


def make_albums(args, work):
    """Generates the album twice, without and with the loop setting; returns both folders."""
    env = dict(os.environ, FOLIVANT_CONFIG_DIR=str(work / "config"))
    photos = work / "photos"
    photos.mkdir()
    for name, width, height, headline, caption in PICTURES:
        run([args.sample_photos, photos / name, str(width), str(height), headline, caption], env)
    album = work / "sample.alb"
    run([args.cli, "create", album, "--from-folder", photos, "--title", "Shapes & Sizes", "--sort", "filename"], env)
    (photos / MISSING).unlink()
    set_album_element(album, "thumbnailrows", 1)
    set_album_element(album, "thumbnailcols", PAGE_SIZE)
    # Photographs as large as today's screens take, so that the window limits them.
    text = album.read_text(encoding="utf-8").replace('<photosize width="640" height="480">medium<',
                                                     '<photosize width="2560" height="1440">custom<')
    album.write_text(text, encoding="utf-8")
    style = [] if args.style == "classic" else ["--style", args.style]
    folders = {}
    for loop in (False, True):
        set_album_element(album, "navigateinloop", "True" if loop else "False")
        folder = work / ("album-loop" if loop else "album")
        # 3: the album was written, but the missing photograph got no images.
        run([args.cli, "generate", album, "--output", folder, "--force", "--jobs", "2"] + style, env, allowed=(3,))
        folders[loop] = folder
    return folders


def make_rows_album(args, work):
    """Generates an album of landscapes, portraits and squares, all on its one index page, in several rows."""
    env = dict(os.environ, FOLIVANT_CONFIG_DIR=str(work / "config"))
    photos = work / "photos-rows"
    photos.mkdir()
    shapes = [name for name, width, height, *_ in PICTURES if name != MISSING and width / height < 2]
    for number in range(ROWS_ALBUM_SIZE):
        shutil.copyfile(work / "photos" / shapes[number % len(shapes)], photos / f"r{number + 1:02}.jpg")
    album = work / "rows.alb"
    run([args.cli, "create", album, "--from-folder", photos, "--title", "Rows", "--sort", "filename"], env)
    set_album_element(album, "thumbnailrows", 1)
    set_album_element(album, "thumbnailcols", ROWS_ALBUM_SIZE)
    folder = work / "album-rows"
    run([args.cli, "generate", album, "--output", folder, "--force", "--jobs", "2", "--style", "modern"], env)
    return folder


def emulate(driver, width, height, ratio, phone):
    # A phone lays a page without a viewport meta out at 980 pixels; the
    # desktop window does not, so only the phone shows whether the meta works.
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": width, "height": height, "deviceScaleFactor": ratio, "mobile": phone})


def index_pages(folder):
    def number(path):
        digits = path.stem[len("index"):]
        return int(digits) if digits else 1

    return sorted(folder.glob("index*.html"), key=number)


def local_path(url):
    parts = urllib.parse.urlsplit(url)
    return pathlib.Path(urllib.parse.unquote(parts.path)) if parts.scheme == "file" else None


def photo_pages(driver, folder):
    """The photo pages in album order, as the index pages link them."""
    pages = []
    for index in index_pages(folder):
        driver.get(index.as_uri())
        for href in driver.execute_script("return [...document.querySelectorAll('a[href]')].map(a => a.href)"):
            path = local_path(href)
            if path and path.suffix == ".html" and not path.name.startswith("index") and path not in pages:
                pages.append(path)
    return pages


# Every address a page refers to, with the kind of element that refers to it.
REFERENCES = """
const refs = [];
for (const e of document.querySelectorAll('a[href], link[href]')) refs.push([e.tagName, e.href]);
for (const e of document.querySelectorAll('script[src], img[src], source[src]')) refs.push([e.tagName, e.src]);
for (const e of document.querySelectorAll('img[srcset], source[srcset]'))
  for (const candidate of e.srcset.split(','))
    refs.push([e.tagName, new URL(candidate.trim().split(/\\s+/)[0], document.baseURI).href]);
return refs;
"""


def check_references(driver, page, failures):
    for tag, url in driver.execute_script(REFERENCES):
        path = local_path(url)
        if path is not None:
            failures.check(path.is_file(), f"{page.name}: {tag} refers to {path.name}, which does not exist")
        else:
            # Only plain links may leave the album (the home page, the product's site); the
            # icon is drawn in the page.
            failures.check((tag == "A" and url.startswith(("http://", "https://", "mailto:")))
                           or (tag == "LINK" and url.startswith("data:image/svg+xml,")),
                           f"{page.name}: {tag} refers to {url} outside the album")


# Brings every image into view and waits until each has loaded, so that lazy
# thumbnails have a currentSrc too; returns what the images show.
IMAGES = """
const done = arguments[arguments.length - 1];
const images = [...document.images];
for (const image of images) image.scrollIntoView();
Promise.all(images.map(image => image.decode().catch(() => null))).then(() => {
  window.scrollTo(0, 0);
  done(images.map(image => ({
    currentSrc: image.currentSrc, src: image.src, shown: image.getBoundingClientRect().width,
    photo: image.matches('.stage img'),
    candidates: (image.getAttribute('srcset') || '').split(',').filter(c => c.trim()).map(c => {
      const [url, width] = c.trim().split(/\\s+/);
      return [new URL(url, document.baseURI).href, parseInt(width)];
    }),
    natural: [image.naturalWidth, image.naturalHeight],
    attributes: [image.getAttribute('width'), image.getAttribute('height')]})));
});
"""


def check_images(driver, page, ratio, failures):
    """Checks that every image loaded, sharp and no larger than needed; returns how many offer several widths."""
    offered = 0
    for image in driver.execute_async_script(IMAGES):
        name = pathlib.Path(urllib.parse.urlsplit(image["currentSrc"] or image["src"]).path).name
        failures.check(image["natural"][0] > 0, f"{page.name}: {name} did not load")
        failures.check(None not in image["attributes"], f"{page.name}: {name} has no width and height")
        widths = sorted(width for _, width in image["candidates"])
        chosen = [width for url, width in image["candidates"] if url == image["currentSrc"]]
        if len(widths) < 2 or not chosen or image["shown"] == 0:
            continue
        offered += 1
        needed = image["shown"] * ratio
        photo = image["photo"]
        where = f"{page.name} at ratio {ratio}: {name} ({chosen[0]} pixels shown {image['shown']:.0f} wide)"
        failures.check(chosen[0] >= 0.99 * needed or chosen[0] == widths[-1], f"{where} is blurred, a larger width exists")
        # A thumbnail's width is the row's to settle; the page can only tell the browser about how wide it will be.
        slack = 1.0 if photo else THUMBNAIL_SLACK
        failures.check(all(width < slack * needed for width in widths if width < chosen[0]),
                       f"{where} is larger than needed, a smaller width is sharp")
        failures.check(not photo or chosen[0] <= MOST_DENSITY * needed or chosen[0] == widths[0],
                       f"{where} has more than {MOST_DENSITY} pixels a device pixel")
    return offered


LAYOUT = """
const root = document.documentElement;
const photo = document.querySelector('.stage img');
const box = photo ? photo.getBoundingClientRect() : null;
const widths = photo ? (photo.getAttribute('srcset') || '').split(',').map(c => parseInt(c.trim().split(/\\s+/)[1])) : [];
return {innerWidth: window.innerWidth, innerHeight: window.innerHeight,
        scrollWidth: root.scrollWidth, clientWidth: root.clientWidth,
        photo: box ? [box.left, box.top, box.right, box.bottom] : null,
        largest: Math.max(0, ...widths.filter(w => w > 0)),
        fit: photo ? getComputedStyle(photo).objectFit : null,
        natural: photo ? [photo.naturalWidth, photo.naturalHeight] : null};
"""


def check_layout(driver, page, size, is_photo_page, missing, failures):
    where = f"{page.name} at {size[0]}x{size[1]}"
    layout = driver.execute_script(LAYOUT)
    failures.check(layout["innerWidth"] == size[0], f"{where}: laid out {layout['innerWidth']} pixels wide")
    failures.check(layout["scrollWidth"] <= layout["clientWidth"],
                   f"{where}: scrolls sideways ({layout['scrollWidth']} > {layout['clientWidth']})")
    if not is_photo_page or missing:
        return
    if not failures.check(layout["photo"] is not None, f"{where}: no photograph"):
        return
    left, top, right, bottom = layout["photo"]
    width, height = layout["innerWidth"], layout["innerHeight"]
    failures.check(left >= 0 and top >= 0 and right <= width + 0.5 and bottom <= height + 0.5,
                   f"{where}: the photograph ({left:.0f},{top:.0f})-({right:.0f},{bottom:.0f}) "
                   f"leaves the window {width}x{height}")
    share = max((right - left) / width, (bottom - top) / height)
    at_largest = right - left >= layout["largest"] - 1
    failures.check(share >= LEAST_AREA or at_largest,
                   f"{where}: the photograph takes {share:.0%} of the window's limiting side")
    if height > width:  # a phone held upright: the photograph comes first
        failures.check(top < 1, f"{where}: the photograph starts {top:.0f} pixels down")
    if layout["fit"] == "fill" and bottom > top and layout["natural"][1] > 0:
        shown, natural = (right - left) / (bottom - top), layout["natural"][0] / layout["natural"][1]
        failures.check(abs(shown / natural - 1) < 0.02, f"{where}: the photograph is distorted")


# Where the photo page's strip of thumbnails shows the current one, in the
# strip's own coordinates, and whether the page itself was scrolled.
STRIP = """
const list = document.querySelector('nav.strip ul');
const current = list && list.querySelector('[aria-current]');
if (!current) return null;
const strip = list.getBoundingClientRect(), item = current.getBoundingClientRect();
return {scrollLeft: list.scrollLeft, visible: list.clientWidth, overflows: list.scrollWidth > list.clientWidth,
        start: item.left - strip.left - list.clientLeft + list.scrollLeft, width: item.width,
        pageScrolled: window.scrollX !== 0 || window.scrollY !== 0};
"""


def check_strip(driver, page, size, failures):
    """A strip wider than the window shows the current photograph's thumbnail; returns whether it had to scroll."""
    strip = driver.execute_script(STRIP)
    if strip is None:
        return False
    where = f"{page.name} at {size[0]}x{size[1]}"
    failures.check(not strip["pageScrolled"], f"{where}: the page scrolled to show the strip")
    shown_from, shown_to = strip["scrollLeft"], strip["scrollLeft"] + strip["visible"]
    start, end = strip["start"], strip["start"] + strip["width"]
    if strip["width"] <= strip["visible"]:
        failures.check(start >= shown_from - 0.5 and end <= shown_to + 0.5,
                       f"{where}: the current thumbnail ({start:.0f}-{end:.0f}) lies outside the strip's "
                       f"visible part ({shown_from:.0f}-{shown_to:.0f})")
    else:  # wider than the window: its middle shows
        failures.check(start <= shown_from + 0.5 and end >= shown_to - 0.5,
                       f"{where}: the current thumbnail ({start:.0f}-{end:.0f}) does not fill the strip "
                       f"({shown_from:.0f}-{shown_to:.0f})")
    return strip["overflows"] and end > strip["visible"]


# The layout shifts of the page so far, as the cumulative layout shift counts them.
LAYOUT_SHIFT = """
const done = arguments[arguments.length - 1];
let total = 0;
const add = entries => { for (const e of entries) if (!e.hadRecentInput) total += e.value; };
const observer = new PerformanceObserver(list => add(list.getEntries()));
observer.observe({type: 'layout-shift', buffered: true});
requestAnimationFrame(() => setTimeout(() => { add(observer.takeRecords()); observer.disconnect(); done(total); }, 0));
"""


def check_layout_shift(driver, page, size, failures):
    shift = driver.execute_async_script(LAYOUT_SHIFT)
    failures.check(shift <= MOST_LAYOUT_SHIFT, f"{page.name} at {size[0]}x{size[1]}: the layout shifts by {shift:.4f}")


# The index's rows of thumbnails, from the top, and the height of a row that is not stretched.
ROWS = """
const rows = new Map();
for (const image of document.querySelectorAll('ul.grid img')) {
  const box = image.getBoundingClientRect();
  const top = Math.round(box.top);
  if (!rows.has(top)) rows.set(top, []);
  rows.get(top).push([box.width, box.height]);
}
const grid = document.querySelector('ul.grid');
const probe = document.createElement('div');
probe.style.height = 'var(--row)';
grid.parentElement.append(probe);
const row = probe.getBoundingClientRect().height;
probe.remove();
return {rows: [...rows.keys()].sort((a, b) => a - b).map(top => rows.get(top)), row: row,
        width: grid.clientWidth, gap: parseFloat(getComputedStyle(grid).columnGap)};
"""


def check_rows(driver, folder, screenshots, failures):
    """The index's rows fill the width with thumbnails as high as each other, but for the last, which keeps its
    height; on wide windows the rows grow. Returns the screenshots."""
    page = folder / "index.html"
    row_heights = {}
    shots = []
    for width, height, phone in VIEWPORTS:
        for ratio in RATIOS:
            emulate(driver, width, height, ratio, phone)
            driver.execute_cdp_cmd("Network.clearBrowserCache", {})
            driver.get(page.as_uri())
            check_layout_shift(driver, page, (width, height), failures)
            check_images(driver, page, ratio, failures)
            grid = driver.execute_script(ROWS)
            where = f"{folder.name}/{page.name} at {width}x{height}, ratio {ratio}"
            rows = grid["rows"]
            if not failures.check(len(rows) >= 2, f"{where}: {len(rows)} row(s), too few to tell"):
                continue
            for number, row in enumerate(rows, 1):
                heights = [h for _, h in row]
                failures.check(max(heights) - min(heights) < 1, f"{where}: row {number} is uneven: {heights}")
                filled = sum(w for w, _ in row) + grid["gap"] * (len(row) - 1)
                if number < len(rows):
                    failures.check(abs(filled - grid["width"]) < len(row),
                                   f"{where}: row {number} is {filled:.0f} pixels wide, not {grid['width']}")
            last = rows[-1][0][1]
            failures.check(abs(last - grid["row"]) < 0.5,
                           f"{where}: the last row is {last:.1f} pixels high, not its own {grid['row']:.1f}")
            row_heights[(width, ratio)] = grid["row"]
            if ratio == 1 and not phone:
                shots.append(screenshot(driver, screenshots, "rows", (width, height), "light"))
    failures.check(row_heights.get((2560, 1), 0) > 1.5 * row_heights.get((1440, 1), 0),
                   f"the rows do not grow with a wide window: {row_heights}")
    return shots


def screenshot(driver, folder, kind, size, scheme):
    folder.mkdir(parents=True, exist_ok=True)
    dark = "-dark" if scheme == "dark" else ""
    path = folder / f"modern-{kind}-{size[0]}x{size[1]}{dark}.png"
    driver.save_screenshot(str(path))
    return path


def check_views(driver, folder, pages, missing_page, screenshots, failures):
    offered = 0
    strip_scrolled = False
    shots = []
    for width, height, phone in VIEWPORTS:
        for ratio in RATIOS:
            emulate(driver, width, height, ratio, phone)
            for page in index_pages(folder) + pages:
                # A larger image in a cache would stand in for the one this screen needs.
                driver.execute_cdp_cmd("Network.clearBrowserCache", {})
                driver.execute_cdp_cmd("Memory.simulatePressureNotification", {"level": "critical"})
                driver.get(page.as_uri())
                if phone and page in pages:
                    strip_scrolled |= check_strip(driver, page, (width, height), failures)
                offered += check_images(driver, page, ratio, failures)
                check_layout(driver, page, (width, height), page in pages, page == missing_page, failures)
                check_layout_shift(driver, page, (width, height), failures)
                if ratio == 1 and page in (folder / "index.html", pages[0]):
                    kind = "index" if page.name == "index.html" else "photo"
                    for scheme in ("light", "dark"):
                        driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {
                            "features": [{"name": "prefers-color-scheme", "value": scheme}]})
                        shots.append(screenshot(driver, screenshots, kind, (width, height), scheme))
                    driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"features": []})
    failures.check(offered > 0, "no image offers several widths")
    failures.check(strip_scrolled, "on no phone does a current thumbnail lie beyond the strip's first screen")
    return shots


def wait_for_page(driver, expected, timeout=5.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        path = local_path(driver.current_url)
        if path == expected:
            time.sleep(0.05 if expected is not None else 0)
            return path
        time.sleep(0.05)
    return local_path(driver.current_url)


def check_keys(driver, folder, pages, loop, failures):
    """← → go to the neighbours (round the ends with the loop), Esc and ↑ to the photograph's index page."""
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.keys import Keys

    emulate(driver, 1440, 900, 1, False)
    last = len(pages) - 1
    for number, page in enumerate(pages):
        index_name = "index.html" if number < PAGE_SIZE else f"index{number // PAGE_SIZE + 1}.html"
        following = pages[number + 1] if number < last else (pages[0] if loop else page)
        preceding = pages[number - 1] if number > 0 else (pages[last] if loop else page)
        for key, label, expected in ((Keys.ARROW_RIGHT, "→", following), (Keys.ARROW_LEFT, "←", preceding),
                                     (Keys.ESCAPE, "Esc", folder / index_name),
                                     (Keys.ARROW_UP, "↑", folder / index_name)):
            driver.get(page.as_uri())
            ActionChains(driver).send_keys(key).perform()
            if expected == page:
                time.sleep(0.4)  # nothing should happen; give a wrong jump the time to show
                reached = local_path(driver.current_url)
            else:
                reached = wait_for_page(driver, expected)
            failures.check(reached == expected, f"{'loop' if loop else 'no loop'}: {label} on {page.name} "
                           f"reached {reached.name if reached else driver.current_url}, not {expected.name}")


def swipe(driver, start, end, steps=8):
    """Drags one finger from start to end across the page, as a touch screen reports it."""
    def point(x, y):
        return {"touchPoints": [{"x": x, "y": y}]}
    driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": "touchStart", **point(*start)})
    for step in range(1, steps + 1):
        x = start[0] + (end[0] - start[0]) * step / steps
        y = start[1] + (end[1] - start[1]) * step / steps
        driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": "touchMove", **point(x, y)})
    driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": "touchEnd", "touchPoints": []})


def check_swipes(driver, pages, failures):
    """On a phone a swipe to the left shows the next photograph, to the right the previous; upward ones scroll."""
    emulate(driver, 390, 844, 3, True)
    driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": True, "maxTouchPoints": 1})
    try:
        middle = pages[1]
        for label, start, end, expected in (("to the left", (300, 200), (60, 210), pages[2]),
                                            ("to the right", (60, 200), (300, 190), pages[0]),
                                            ("upward", (200, 500), (210, 150), middle)):
            driver.get(middle.as_uri())
            swipe(driver, start, end)
            if expected == middle:
                time.sleep(0.4)  # nothing should happen; give a wrong jump the time to show
                reached = local_path(driver.current_url)
            else:
                reached = wait_for_page(driver, expected)
            failures.check(reached == expected, f"a swipe {label} on {middle.name} reached "
                           f"{reached.name if reached else driver.current_url}, not {expected.name}")
    finally:
        driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": False})


def check_without_script(driver, folder, pages, missing_page, failures):
    """Without script each photo page still links its neighbours and its index page, and shows the photograph whole."""
    driver.execute_cdp_cmd("Emulation.setScriptExecutionDisabled", {"value": True})
    try:
        for width, height, phone in VIEWPORTS:
            emulate(driver, width, height, 1, phone)
            for number, page in enumerate(pages):
                driver.get(page.as_uri())
                # The browser's own script still runs where the page's may not.
                check_layout(driver, page, (width, height), True, page == missing_page, failures)
                links = driver.execute_script(
                    "return Object.fromEntries([...document.querySelectorAll('#previous, #next, #up')]"
                    ".map(a => [a.id, a.href]))")
                expected = {"up": folder / ("index.html" if number < PAGE_SIZE else "index2.html")}
                if number > 0:
                    expected["previous"] = pages[number - 1]
                if number < len(pages) - 1:
                    expected["next"] = pages[number + 1]
                failures.check({name: local_path(url) for name, url in links.items()} == expected,
                               f"without script {page.name} links {links}")
    finally:
        driver.execute_cdp_cmd("Emulation.setScriptExecutionDisabled", {"value": False})


# axe-core, as tools/bootstrap fetches it; FOLIVANT_AXE names another copy.
AXE = pathlib.Path(os.environ.get("FOLIVANT_AXE") or pathlib.Path(__file__).resolve().parents[2]
                   / "build/tools/audit/node_modules/axe-core/axe.min.js")


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve(folder):
    """Serves `folder` over http on a free port of 127.0.0.1 until the program ends; returns its address."""
    handler = functools.partial(QuietHandler, directory=str(folder))
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return f"http://127.0.0.1:{server.server_address[1]}/"


AXE_RUN = """
const done = arguments[arguments.length - 1];
axe.run(document, {resultTypes: ['violations']}).then(
    results => done(results.violations.map(v => v.id + ': ' + v.nodes.map(n => n.target.join(' ')).join(', '))),
    error => done(['axe failed: ' + error]));
"""


def check_accessibility(driver, folder, pages, failures):
    """axe-core finds no violation on any page served over http, on a phone and a desktop, light and dark."""
    if not AXE.is_file():
        skip_or_fail(f"{AXE} is missing")
    script = AXE.read_text(encoding="utf-8")
    address = serve(folder)
    for width, height, phone in (VIEWPORTS[0], VIEWPORTS[2]):
        emulate(driver, width, height, 1, phone)
        for scheme in ("light", "dark"):
            driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {
                "features": [{"name": "prefers-color-scheme", "value": scheme}]})
            for page in index_pages(folder) + pages:
                driver.get(address + urllib.parse.quote(page.name))
                driver.execute_script(script)
                for violation in driver.execute_async_script(AXE_RUN):
                    failures.check(False, f"axe, {page.name} at {width}x{height} {scheme}: {violation}")
    driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"features": []})


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", required=True, type=pathlib.Path)
    parser.add_argument("--sample-photos", required=True, type=pathlib.Path)
    parser.add_argument("--screenshots", required=True, type=pathlib.Path)
    parser.add_argument("--style", default="modern", help="the page style to generate (default: modern)")
    parser.add_argument("--keep", type=pathlib.Path, help="generate the albums into this folder and keep them")
    args = parser.parse_args()
    require_browser()

    work = args.keep or pathlib.Path(tempfile.mkdtemp(prefix="folivant-browser-"))
    if args.keep:
        shutil.rmtree(work, ignore_errors=True)
        work.mkdir(parents=True)
    failures = Failures()
    driver = None
    try:
        folders = make_albums(args, work)
        rows_folder = make_rows_album(args, work)
        driver = start_browser(work)
        driver.set_script_timeout(20)
        pages = photo_pages(driver, folders[True])
        if len(pages) != len(PICTURES):
            sys.exit(f"modern_pages: the index pages link {len(pages)} photo pages, not {len(PICTURES)}")
        missing_page = pages[[name for name, *_ in PICTURES].index(MISSING)]
        for folder in folders.values():
            for page in index_pages(folder) + photo_pages(driver, folder):
                driver.get(page.as_uri())
                check_references(driver, page, failures)
        shots = check_views(driver, folders[True], pages, missing_page, args.screenshots, failures)
        shots += check_rows(driver, rows_folder, args.screenshots, failures)
        for loop, folder in folders.items():
            check_keys(driver, folder, [folder / page.name for page in pages], loop, failures)
        unlooped = [folders[False] / page.name for page in pages]
        check_swipes(driver, unlooped, failures)
        check_without_script(driver, folders[False], unlooped, folders[False] / missing_page.name, failures)
        check_accessibility(driver, folders[False], unlooped, failures)
    finally:
        if driver is not None:
            driver.quit()
        if not args.keep:
            shutil.rmtree(work, ignore_errors=True)
    for failure in failures.items:
        print(f"FAIL: {failure}", file=sys.stderr)
    if failures.items:
        return 1
    print("modern_pages: all checks passed; screenshots:\n  " + "\n  ".join(map(str, shots)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
