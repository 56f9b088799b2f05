#!/usr/bin/env python3
"""Opens the pages of an album of photographs with hostile metadata in headless Chromium.

One photograph carries script in its IPTC headline and an image with an error
handler in its IPTC caption, another does the same in its XMP title and
description; both captions also hold <b> and a stray "&" and "<". The album is
made with folivant-cli create and generated in both page styles. On every page
no script of the metadata may run (it would mark the document or open an
alert), the texts must show as they were written, as text, and <b> must stay
bold.

Runs offline: the pages are opened as files and the browser resolves no host.
"""

import argparse
import os
import pathlib
import shutil
import sys
import tempfile

from chromium import Failures, require_browser, run, start_browser

MARK = "document.documentElement.dataset.pwned"
HEADLINE = f'Hostile <script>{MARK} = "headline"</script>'
CAPTION = (f'Nice <img src=x onerror="{MARK} = \'caption\'; alert(document.domain)"> <b>bold</b>\n'
           "Fish & <chips>")
XMP_TITLE = f'Harbour <svg onload="{MARK} = \'xmp title\'">'
XMP_DESCRIPTION = f"<script>{MARK} = 'xmp description'</script><i>quiet</i> & <b>bold</b>"

# What a visitor reads on each photograph's page, by its heading: the caption's paragraphs.
EXPECTED = {
    HEADLINE: [f'Nice <img src=x onerror="{MARK} = \'caption\'; alert(document.domain)"> bold', "Fish & <chips>"],
    XMP_TITLE: [f"<script>{MARK} = 'xmp description'</script>quiet & bold"],
}

PAGE = """
return {mark: document.documentElement.dataset.pwned || null,
        heading: (document.querySelector('h1') || {}).textContent || null,
        captions: [...document.querySelectorAll('.caption')].map(p => p.textContent),
        bold: [...document.querySelectorAll('.caption b')].map(b => getComputedStyle(b).fontWeight),
        // The modern pages' own chevrons over the photograph are the only svg elements the pages have.
        injected: document.querySelectorAll('h1 *, .caption img, .caption script, svg:not(a.step svg)').length};
"""


def make_albums(args, work):
    env = dict(os.environ, FOLIVANT_CONFIG_DIR=str(work / "config"))
    photos = work / "photos"
    photos.mkdir()
    run([args.sample_photos, photos / "iptc.jpg", "640", "480", HEADLINE, CAPTION], env)
    run([args.sample_photos, photos / "xmp.jpg", "480", "640"], env)
    run(["exiftool", "-q", "-overwrite_original", f"-XMP-dc:Title={XMP_TITLE}",
         f"-XMP-dc:Description={XMP_DESCRIPTION}", photos / "xmp.jpg"], env)
    album = work / "hostile.alb"
    run([args.cli, "create", album, "--from-folder", photos, "--sort", "filename"], env)
    folders = {}
    for style in ("classic", "modern"):
        folders[style] = work / style
        run([args.cli, "generate", album, "--output", folders[style], "--style", style], env)
    return folders


def alert_text(driver):
    from selenium.common.exceptions import NoAlertPresentException

    try:
        alert = driver.switch_to.alert
        text = alert.text
        alert.dismiss()
        return text
    except NoAlertPresentException:
        return None


def check_page(driver, style, page, failures):
    """Checks one page; returns the heading of a photo page, else None."""
    where = f"{style} {page.name}"
    driver.get(page.as_uri())
    alert = alert_text(driver)
    failures.check(alert is None, f"{where}: an alert opened: {alert}")
    seen = driver.execute_script(PAGE)
    failures.check(seen["mark"] is None, f"{where}: script of the metadata ran ({seen['mark']})")
    failures.check(seen["injected"] == 0, f"{where}: {seen['injected']} elements came from the metadata")
    if page.name.startswith("index"):
        return None
    captions = EXPECTED.get(seen["heading"])
    if not failures.check(captions is not None, f"{where}: the heading reads {seen['heading']!r}"):
        return None
    failures.check(seen["captions"] == captions, f"{where}: the caption reads {seen['captions']!r}, not {captions!r}")
    failures.check(len(seen["bold"]) == 1 and int(seen["bold"][0]) >= 600,
                   f"{where}: <b> in the caption shows with weights {seen['bold']}")
    return seen["heading"]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", required=True, type=pathlib.Path)
    parser.add_argument("--sample-photos", required=True, type=pathlib.Path)
    args = parser.parse_args()
    require_browser()
    if shutil.which("exiftool") is None:
        sys.exit("photo_metadata: exiftool is missing (tools/bootstrap installs it)")

    work = pathlib.Path(tempfile.mkdtemp(prefix="folivant-browser-"))
    failures = Failures()
    driver = None
    checked = 0
    try:
        folders = make_albums(args, work)
        driver = start_browser(work)
        for style, folder in folders.items():
            headings = set()
            for page in sorted(folder.glob("*.html")):
                headings.add(check_page(driver, style, page, failures))
                checked += 1
            failures.check(set(EXPECTED) <= headings, f"{style}: a photograph's page is missing")
    finally:
        if driver is not None:
            driver.quit()
        shutil.rmtree(work, ignore_errors=True)
    for failure in failures.items:
        print(f"FAIL: {failure}", file=sys.stderr)
    if failures.items:
        return 1
    print(f"photo_metadata: {checked} pages of both styles checked; no script of the metadata ran")
    return 0


if __name__ == "__main__":
    sys.exit(main())
