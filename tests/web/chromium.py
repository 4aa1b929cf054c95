"""Debian's Chromium, headless, driven by Debian's chromedriver and python3-selenium: for the
browser tests, the screenshots and the figures of the browser program."""
import os
import pathlib
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

# The web preset's build directory, unless the test run names another.
BUILD = pathlib.Path(os.environ.get("SUMATKO_WEB_BUILD", pathlib.Path(__file__).resolve().parents[2] / "build" / "web"))
PAGE = (BUILD / "sumatko2001.html").as_uri()


def start(width=520, height=243, scale=1, profile=None):
    """A browser whose page is exactly width x height CSS pixels at the given device scale."""
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--force-renderer-accessibility",
                     "--hide-scrollbars"):
        options.add_argument(argument)
    if profile:
        options.add_argument(f"--user-data-dir={profile}")
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    resize(driver, width, height, scale)
    return driver


def resize(driver, width, height, scale=1):
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": width, "height": height, "deviceScaleFactor": scale, "mobile": False})


def wait_for(driver, script, timeout=10.0):
    """Waits until the script's expression is true in the page; returns its value."""
    end = time.monotonic() + timeout
    while True:
        value = driver.execute_script(f"return {script}")
        if value:
            return value
        if time.monotonic() > end:
            raise AssertionError(f"still not true after {timeout} s: {script}")
        time.sleep(0.02)


def open_page(driver, url=PAGE):
    driver.get(url)
    wait_for(driver, "typeof Module.pausing === 'function' && document.activeElement.id === 'Command3'")


def console_errors(driver):
    return [entry["message"] for entry in driver.get_log("browser") if entry["level"] == "SEVERE"]


def accessibility(driver):
    """The page's accessibility tree as Chromium gives it to screen readers: (role, name,
    description, focused) of every node that has a name."""
    nodes = driver.execute_cdp_cmd("Accessibility.getFullAXTree", {})["nodes"]

    def value(node, key):
        return (node.get(key) or {}).get("value", "")

    def focused(node):
        return any(p["name"] == "focused" and p["value"]["value"] for p in node.get("properties", []))

    return [(value(n, "role"), value(n, "name"), value(n, "description"), focused(n))
            for n in nodes if not n.get("ignored") and value(n, "name")]
