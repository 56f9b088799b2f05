#!/usr/bin/env python3
"""Lighthouse's mobile scores of the modern pages, run by hand (not by ctest).

Generates the browser test's sample album, serves it over http from
127.0.0.1 and runs Lighthouse (npm, pinned, installed into
build/tools/lighthouse/ on first use) on its first index page and its first
photo page; prints each page's performance, accessibility, best practices and
SEO scores, its cumulative layout shift and the binary audits that failed.
Lighthouse takes about a minute a page on a shared two-core machine and its
performance score moves with the machine's load, so CI leaves it out.

    tests/browser/lighthouse.py --cli build/bin/folivant-cli --sample-photos build/bin/folivant-sample-photos
"""

import argparse
import json
import os
import pathlib
import subprocess
import sys
import tempfile

import modern_pages
from chromium import CHROMIUM

VERSION = "12.2.3"
PREFIX = pathlib.Path(__file__).resolve().parents[2] / "build/tools/lighthouse"
CATEGORIES = ("performance", "accessibility", "best-practices", "seo")


def lighthouse():
    program = PREFIX / "node_modules/.bin/lighthouse"
    if not program.exists():
        subprocess.run(["npm", "install", "--prefix", str(PREFIX), "--no-save", "--no-audit", "--no-fund",
                        f"lighthouse@{VERSION}"], check=True)
    return program


def scores(program, url, work):
    report = work / "report.json"
    subprocess.run([str(program), url, "--quiet", "--output=json", f"--output-path={report}",
                    "--chrome-flags=--headless=new --no-sandbox --disable-gpu --disable-dev-shm-usage",
                    f"--only-categories={','.join(CATEGORIES)}"],
                   check=True, env=dict(os.environ, CHROME_PATH=CHROMIUM))
    result = json.loads(report.read_text(encoding="utf-8"))
    figures = {name: round(result["categories"][name]["score"] * 100) for name in CATEGORIES}
    figures["cls"] = result["audits"]["cumulative-layout-shift"]["numericValue"]
    failed = [audit["id"] for audit in result["audits"].values()
              if audit.get("scoreDisplayMode") == "binary" and audit.get("score") == 0]
    return figures, failed


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", required=True, type=pathlib.Path)
    parser.add_argument("--sample-photos", required=True, type=pathlib.Path)
    args = parser.parse_args()
    args.style = "modern"
    program = lighthouse()
    with tempfile.TemporaryDirectory(prefix="folivant-lighthouse-") as folder:
        work = pathlib.Path(folder)
        album = modern_pages.make_albums(args, work)[False]
        address = modern_pages.serve(album)
        for page in ("index.html", "landscape.html"):
            figures, failed = scores(program, address + page, work)
            print(page, " ".join(f"{name} {value}" for name, value in figures.items()),
                  ("failed: " + ", ".join(failed)) if failed else "")
    return 0


if __name__ == "__main__":
    sys.exit(main())
