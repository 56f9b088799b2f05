#!/usr/bin/env python3
"""Opens the modern pages of a generated sample album in headless Chromium.

The album holds a landscape, a portrait, a square, a 3000 x 400 panorama and a
photograph whose file is missing, three to an index page. At 390 x 844 (as a
phone) and 1440 x 900, each at device pixel ratio 1 and 2, every page must fit
the window's width, and each photograph must lie wholly inside the window; at
ratio 2 every image that offers a 2x copy must show it. The arrow keys, Esc and
Up must reach the right pages, with and without the loop setting, and every
link and image of every page must resolve to a file of the album. Screenshots
of the index and of a photo page at both sizes go to the screenshot folder.

Runs offline: the pages are opened as files and the browser resolves no host.
Without Chromium, its driver or Selenium it skips (exit 77), unless
FOLIVANT_REQUIRE_BROWSER=1 (set by tools/test), when it fails.
"""

import argparse
import os
import pathlib
import re
import shutil
import sys
import tempfile
import time
import urllib.parse

from chromium import Failures, require_browser, run, start_browser

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
VIEWPORTS = [(390, 844, True), (1440, 900, False)]  # width, height, as a phone


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
    # Photographs as large as the wizard offers, so that the window's height limits them too.
    text = album.read_text(encoding="utf-8").replace('<photosize width="640" height="480">medium<',
                                                     '<photosize width="1024" height="768">custom<')
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
            # Only plain links may leave the album (the home page, the product's site).
            failures.check(tag == "A" and url.startswith(("http://", "https://", "mailto:")),
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
    currentSrc: image.currentSrc, srcset: image.getAttribute('srcset') || '', src: image.src,
    natural: [image.naturalWidth, image.naturalHeight],
    attributes: [image.getAttribute('width'), image.getAttribute('height')]})));
});
"""


def two_x_candidate(driver, srcset):
    for candidate in srcset.split(","):
        words = candidate.split()
        if len(words) == 2 and words[1] == "2x":
            return driver.execute_script("return new URL(arguments[0], document.baseURI).href", words[0])
    return None


def check_images(driver, page, ratio, failures):
    """Checks the images of the page loaded; returns how many offered a 2x copy."""
    offered = 0
    for image in driver.execute_async_script(IMAGES):
        name = pathlib.Path(urllib.parse.urlsplit(image["src"]).path).name
        failures.check(image["natural"][0] > 0, f"{page.name}: {name} did not load")
        failures.check(None not in image["attributes"], f"{page.name}: {name} has no width and height")
        two_x = two_x_candidate(driver, image["srcset"])
        if two_x is None:
            continue
        offered += 1
        chosen = two_x if ratio == 2 else image["src"]
        failures.check(image["currentSrc"] == chosen,
                       f"{page.name} at ratio {ratio}: shows {image['currentSrc']}, not {chosen}")
    return offered


LAYOUT = """
const root = document.documentElement;
const photo = [...document.images].sort((a, b) => b.width * b.height - a.width * a.height)[0];
const box = photo ? photo.getBoundingClientRect() : null;
return {innerWidth: window.innerWidth, innerHeight: window.innerHeight,
        scrollWidth: root.scrollWidth, clientWidth: root.clientWidth,
        photo: box ? [box.left, box.top, box.right, box.bottom] : null,
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
    failures.check(left >= 0 and top >= 0 and right <= layout["innerWidth"] + 0.5
                   and bottom <= layout["innerHeight"] + 0.5,
                   f"{where}: the photograph ({left:.0f},{top:.0f})-({right:.0f},{bottom:.0f}) "
                   f"leaves the window {layout['innerWidth']}x{layout['innerHeight']}")
    if layout["fit"] == "fill" and bottom > top and layout["natural"][1] > 0:
        shown, natural = (right - left) / (bottom - top), layout["natural"][0] / layout["natural"][1]
        failures.check(abs(shown / natural - 1) < 0.02, f"{where}: the photograph is distorted")


def screenshot(driver, folder, kind, size):
    folder.mkdir(parents=True, exist_ok=True)
    path = folder / f"modern-{kind}-{size[0]}x{size[1]}.png"
    driver.save_screenshot(str(path))
    return path


def check_views(driver, folder, pages, missing_page, screenshots, failures):
    offered = 0
    shots = []
    for width, height, phone in VIEWPORTS:
        for ratio in (1, 2):
            emulate(driver, width, height, ratio, phone)
            for page in index_pages(folder) + pages:
                driver.get(page.as_uri())
                offered += check_images(driver, page, ratio, failures)
                check_layout(driver, page, (width, height), page in pages, page == missing_page, failures)
                if ratio == 1 and page in (folder / "index.html", pages[0]):
                    kind = "index" if page.name == "index.html" else "photo"
                    shots.append(screenshot(driver, screenshots, kind, (width, height)))
    failures.check(offered > 0, "no image offers a 2x copy")
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
        for loop, folder in folders.items():
            check_keys(driver, folder, [folder / page.name for page in pages], loop, failures)
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
