"""What only the browser program can get wrong, in headless Chromium: the window the page paints
before the program runs, the page never scrolling, input dropped while the finish waits, a tab
frozen or closed mid-slide, and the site offline. The exercise itself is tests/scenario's."""
import functools
import http.server
import shutil
import sys
import tempfile
import threading
import time
import unittest
from pathlib import Path

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools"))
import chromium  # noqa: E402

# The window's elements, each as its tag, style, value, state and attributes, and its text.
SHAPE = ("const shape = (root) => JSON.stringify([[root, ...root.querySelectorAll('*')].map((e) => [e.localName, "
         "e.style.cssText, e.value, e.checked, ...[...e.attributes].filter((a) => a.name !== 'style')"
         ".map((a) => `${a.name}=${a.value}`)]), root.textContent]);")


class Page(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.driver = chromium.start()

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()

    def setUp(self):
        chromium.resize(self.driver, 520, 243)
        chromium.open_page(self.driver)
        self.driver.get_log("browser")

    def tearDown(self):
        self.assertEqual(chromium.console_errors(self.driver), [])

    def js(self, script):
        return self.driver.execute_script(f"return {script}")

    def click(self, name):
        self.driver.execute_script("arguments[0].click()", self.driver.find_element("id", name))

    def test_the_window_before_and_after_the_program_starts(self):
        self.assertEqual(self.js("(({width, height}) => [width, height])(Form1.getBoundingClientRect())"), [520, 243])
        self.assertEqual(self.js("[getComputedStyle(Form1).backgroundColor, getComputedStyle(Picture6).backgroundColor]"),
                         ["rgb(0, 0, 0)", "rgb(224, 224, 224)"])
        # What the page shows before the program runs is the window the program holds once loaded:
        # taken as it stops being busy, before any timer of the program has ticked.
        added = self.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": SHAPE + (
            "addEventListener('DOMContentLoaded', () => new MutationObserver(() => { window.held ??= shape(Form1); })"
            ".observe(Form1, { attributeFilter: ['aria-busy'] }));")})
        chromium.open_page(self.driver)
        self.driver.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument", added)
        shown = self.driver.execute_script(
            SHAPE + "return shape(new DOMParser().parseFromString(arguments[0], 'text/html').getElementById('Form1'));",
            (chromium.BUILD / "sumatko2001.html").read_text(encoding="utf-8"))
        self.assertEqual(shown, self.js("held"))

    def test_the_page_stays_still_and_drops_input_while_the_finish_waits(self):
        self.click("Command3")
        chromium.wait_for(self.driver, "document.activeElement.id === 'txtVysl(1)' && Picture2.style.top === '44px'")
        # A tap on a caption focuses its row; the list eases it into the band, the page never scrolls.
        ActionChains(self.driver).move_to_element(self.driver.find_element("id", "lblPrikl(3)")).click().perform()
        chromium.wait_for(self.driver, "getComputedStyle(Picture2).top === '-44px'")
        self.assertEqual(self.js("document.activeElement.id"), "txtVysl(3)")
        ActionChains(self.driver).send_keys(Keys.END, Keys.PAGE_UP, Keys.HOME).perform()
        self.assertEqual(self.js("[scrollX, scrollY, Picture1.scrollTop]"), [0, 0, 0])
        self.click("Command1")
        chromium.wait_for(self.driver, "Module.pausing()")  # the finish's first pause lasts a second
        ActionChains(self.driver).move_to_element(self.driver.find_element("id", "txtVysl(4)")).click().perform()
        ActionChains(self.driver).send_keys("7").perform()
        self.assertEqual(self.js("[document.activeElement === document.body, document.getElementById('txtVysl(4)').value]"),
                         [True, ""])

    def test_start_writes_the_exercise_into_the_address(self):
        history = self.js("history.length")
        self.driver.execute_script("Text1.value = '7'; Check2.firstElementChild.checked = false;")
        self.click("Command3")
        chromium.wait_for(self.driver, "document.activeElement.id === 'txtVysl(1)'")
        self.assertEqual(self.js("location.hash"),
                         "#pocet=7&cas=100&cislo1=0..10&cislo2=0..10&vysledek=0..100&operace=scitani,nasobeni,deleni")
        self.assertEqual(self.js("history.length"), history, "no new entry in the history")

    def in_a_second_tab(self, mid_slide):
        first = self.driver.current_window_handle
        self.driver.switch_to.new_window("tab")
        chromium.resize(self.driver, 520, 243)
        chromium.open_page(self.driver)
        self.click("Command3")
        chromium.wait_for(self.driver, "Module.pausing()")
        mid_slide()
        self.assertEqual(chromium.console_errors(self.driver), [])
        self.driver.close()
        self.driver.switch_to.window(first)
        self.driver.execute_cdp_cmd("Page.bringToFront", {})

    def test_a_frozen_tab_finishes_its_slide_and_a_closed_one_leaves_the_others_be(self):
        def frozen():
            # Stopped in the background, the tab resumes where it was and ends the slide once it
            # is shown again.
            self.driver.execute_cdp_cmd("Page.setWebLifecycleState", {"state": "frozen"})
            time.sleep(1.5)
            self.driver.execute_cdp_cmd("Page.setWebLifecycleState", {"state": "active"})
            self.driver.execute_cdp_cmd("Emulation.setFocusEmulationEnabled", {"enabled": True})
            chromium.wait_for(self.driver, "document.activeElement.id === 'txtVysl(1)'")
            self.assertEqual(self.js("[getComputedStyle(Picture6).top, getComputedStyle(Picture7).left, "
                                     "Picture7.hidden]"), ["-190px", "-600px", True])

        self.in_a_second_tab(frozen)
        self.in_a_second_tab(lambda: None)
        self.click("Command3")
        chromium.wait_for(self.driver, "document.activeElement.id === 'txtVysl(1)'")


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


class Site(unittest.TestCase):
    def test_works_offline_after_the_first_visit(self):
        handler = functools.partial(QuietHandler, directory=chromium.BUILD / "site")
        server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        threading.Thread(target=server.serve_forever, daemon=True).start()
        profile = tempfile.mkdtemp(prefix="web-site-")
        driver = chromium.start(profile=profile)
        try:
            url = f"http://127.0.0.1:{server.server_address[1]}/"
            chromium.open_page(driver, url)
            chromium.wait_for(driver, "navigator.serviceWorker.controller !== null || (location.reload(), false)")
            manifest = driver.execute_cdp_cmd("Page.getAppManifest", {})
            self.assertEqual(manifest["errors"], [])
            self.assertIn('"display": "standalone"', manifest["data"])
            server.shutdown()
            server.server_close()
            chromium.open_page(driver, url)
            self.assertEqual(driver.title, "Sumatko 2001")
            self.assertEqual(chromium.console_errors(driver), [])
        finally:
            driver.quit()
            server.server_close()
            shutil.rmtree(profile, ignore_errors=True)


if __name__ == "__main__":
    unittest.main(verbosity=2)
