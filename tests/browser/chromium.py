"""What the browser tests share: headless Chromium, driven by Selenium, offline.

Without Chromium, its driver or Selenium a test skips (exit 77), unless
FOLIVANT_REQUIRE_BROWSER=1 (set by tools/test), when it fails.
"""

import os
import pathlib
import subprocess
import sys

SKIP = 77
CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
# The test's name, for its messages.
NAME = pathlib.Path(sys.argv[0]).stem


class Failures:
    def __init__(self):
        self.items = []

    def check(self, condition, message):
        if not condition:
            self.items.append(message)
        return condition


def skip_or_fail(reason):
    if os.environ.get("FOLIVANT_REQUIRE_BROWSER") == "1":
        print(f"{NAME}: {reason} (tools/bootstrap installs it)", file=sys.stderr)
        sys.exit(1)
    print(f"{NAME}: SKIPPED: {reason}; install chromium, chromium-driver and python3-selenium "
          "(tools/bootstrap does) to run this test", file=sys.stderr)
    sys.exit(SKIP)


def require_browser():
    for program in (CHROMIUM, CHROMEDRIVER):
        if not os.access(program, os.X_OK):
            skip_or_fail(f"{program} is missing")
    try:
        import selenium  # noqa: F401
    except ImportError:
        skip_or_fail(f"Selenium is missing for {sys.executable}")


def run(command, env, allowed=(0,)):
    result = subprocess.run(command, env=env, capture_output=True, text=True)
    if result.returncode not in allowed:
        sys.exit(f"{NAME}: {' '.join(map(str, command))} exited with {result.returncode}:\n"
                 f"{result.stdout}{result.stderr}")
    return result


def start_browser(work):
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service

    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                     "--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE 127.0.0.1", "--no-first-run", "--disable-extensions",
                     "--disable-background-networking", "--disable-component-update",
                     f"--user-data-dir={work / 'chromium'}"):
        options.add_argument(argument)
    return webdriver.Chrome(service=Service(executable_path=CHROMEDRIVER), options=options)
