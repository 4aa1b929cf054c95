"""The browser program in headless Chromium, opened from disk and played with real key and mouse
events: whole exercises, what a screen reader is told, closing mid-slide, and the site offline."""
import functools
import http.server
import pathlib
import shutil
import sys
import tempfile
import threading
import time
import unittest

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / "tools"))
import chromium  # noqa: E402


# The window's elements, each as its tag, style, value, state and attributes, and its text.
SHAPE = ("const shape = (root) => JSON.stringify([[root, ...root.querySelectorAll('*')].map((e) => [e.localName, "
         "e.style.cssText, e.value, e.checked, ...[...e.attributes].filter((a) => a.name !== 'style')"
         ".map((a) => `${a.name}=${a.value}`)]), root.textContent]);")


def answer(caption):
    """The result of a row's caption, "7 + 5 =", "3 · 4 =", "-3 - 8 =", "20 : 5 =" ."""
    first, sign, second, _ = caption.split(" ")
    a, b = int(first), int(second)
    return a + b if sign == "+" else a - b if sign == "-" else a * b if sign == "·" else a // b


class Exercise(unittest.TestCase):
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

    def element(self, name):
        return self.driver.find_element(By.ID, name)

    def focused(self):
        return self.js("document.activeElement.id")

    def keys(self, *keys):
        ActionChains(self.driver).send_keys(*keys).perform()

    def set_setting(self, box, text):
        self.element(box).click()
        self.js("document.activeElement.select()")
        self.keys(text)

    def wait_until_still(self):
        chromium.wait_for(self.driver, "!Module.pausing()")
        time.sleep(0.15)
        chromium.wait_for(self.driver, "!Module.pausing()")

    def focused_node(self):
        nodes = [node for node in chromium.accessibility(self.driver) if node[3] and node[0] != "RootWebArea"]
        self.assertEqual(len(nodes), 1)
        return nodes[0]

    def caption(self, name):
        return self.js(f"document.getElementById('{name}').firstElementChild.textContent")

    def start(self, count, seconds):
        self.set_setting("Text1", count)
        self.set_setting("Text2", seconds)
        self.element("Command3").click()
        chromium.wait_for(self.driver, "document.activeElement.id === 'txtVysl(1)'")

    def test_a_whole_exercise(self):
        window = self.js("(({width, height}) => [width, height])(Form1.getBoundingClientRect())")
        self.assertEqual(window, [520, 243])
        self.assertEqual(self.js("getComputedStyle(Form1).backgroundColor"), "rgb(0, 0, 0)")
        self.assertEqual(self.js("getComputedStyle(Picture6).backgroundColor"), "rgb(224, 224, 224)")
        self.assertEqual(self.js("document.title"), "Sumatko 2001")
        # The window the page shows before the program runs is the one the program holds once
        # loaded: taken as it stops being busy, before any timer of the program has ticked.
        added = self.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": SHAPE + (
            "addEventListener('DOMContentLoaded', () => new MutationObserver(() => { window.held ??= shape(Form1); })"
            ".observe(Form1, { attributeFilter: ['aria-busy'] }));")})
        chromium.open_page(self.driver)
        self.driver.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument", added)
        shown = self.driver.execute_script(
            SHAPE + "return shape(new DOMParser().parseFromString(arguments[0], 'text/html').getElementById('Form1'));",
            (chromium.BUILD / "sumatko2001.html").read_text(encoding="utf-8"))
        self.assertEqual(shown, self.js("held"))

        # A count of 0 is refused before anything moves; the box at fault gets the focus back.
        self.set_setting("Text1", "0")
        self.element("Command3").click()
        self.assertTrue(self.js("refusal.open"))
        self.assertIn("příklad", self.js("refusal.textContent"))
        chromium.wait_for(self.driver, "document.activeElement.textContent === 'OK'")
        self.keys(Keys.ENTER)
        chromium.wait_for(self.driver, "!refusal.open && document.activeElement.id === 'Text1'")
        self.assertEqual(self.js("getComputedStyle(Picture6).top"), "27px")

        self.set_setting("Text1", "5")
        self.element("Command3").send_keys(Keys.ENTER)
        chromium.wait_for(self.driver, "document.activeElement.id === 'txtVysl(1)'")
        self.wait_until_still()
        results = [answer(self.caption(f"lblPrikl({i})")) for i in range(1, 6)]

        # Digits only, typed and pasted, at most five; a tap on a caption focuses its row.
        self.keys("1a-2,", Keys.BACKSPACE, Keys.BACKSPACE, str(results[0]))
        self.assertEqual(self.element("txtVysl(1)").get_attribute("value"), str(results[0]))
        self.keys(Keys.ENTER)
        self.assertEqual(self.focused(), "txtVysl(2)")
        self.keys(str(results[1] + 1), "123456789")
        self.assertEqual(len(self.element("txtVysl(2)").get_attribute("value")), 5)
        self.keys(Keys.END)
        self.assertEqual(self.focused(), "txtVysl(5)")
        self.js(f"document.execCommand('insertText', false, 'x{results[4]}.')")
        self.assertEqual(self.element("txtVysl(5)").get_attribute("value"), str(results[4]))
        self.keys(Keys.PAGE_UP)
        self.assertEqual(self.focused(), "txtVysl(1)")
        self.keys(Keys.PAGE_DOWN, Keys.ARROW_UP, Keys.ARROW_UP)
        self.assertEqual(self.focused(), "txtVysl(3)")
        self.element("lblPrikl(4)").click()
        self.assertEqual(self.focused(), "txtVysl(4)")
        self.keys(str(results[3]))
        # The list eases row 4 into the band, and no key scrolled the page.
        chromium.wait_for(self.driver, "getComputedStyle(Picture2).top === '-88px'")
        self.assertEqual(self.js("[scrollX, scrollY, Picture1.scrollTop]"), [0, 0, 0])

        # What a screen reader is told: the problem in words, the clock on demand.
        tree = chromium.accessibility(self.driver)
        self.assertIn(("application", "Sumatko 2001", "", False), tree)
        role, name, _, _ = self.focused_node()
        self.assertEqual(role, "textbox")
        self.assertRegex(name, r"^(mínus )?\d+ (plus|mínus|krát|děleno) (mínus )?\d+$")
        self.keys(Keys.END, Keys.TAB)
        self.assertEqual(self.focused(), "Picture4")
        clock = self.focused_node()
        self.assertEqual(clock[:2], ("timer", "Zbývající čas"))
        self.assertRegex(clock[2], r"^1 minuta \d+ sekund")

        # "Hotovo!" marks: right in navy, wrong in red and struck through, empty as "?".
        self.keys(Keys.TAB)
        self.assertEqual(self.focused(), "Command1")
        self.keys(Keys.SPACE)
        # While the marked list waits, a click on a row goes nowhere.
        time.sleep(0.3)
        ActionChains(self.driver).move_to_element(self.element("txtVysl(4)")).click().perform()
        self.assertEqual(self.js("document.activeElement"), self.js("document.body"))
        chromium.wait_for(self.driver, "!Command2.hidden && document.activeElement.id === 'txtVysl(1)'", 15)
        marks = self.js("[1, 2, 3].map(i => { const box = document.getElementById(`txtVysl(${i})`); "
                        "const style = getComputedStyle(box); "
                        "return [box.value, style.color, style.textDecorationLine, box.readOnly]; })")
        self.assertEqual(marks, [[str(results[0]), "rgb(0, 0, 128)", "none", True],
                                 [(str(results[1] + 1) + "123456789")[:5], "rgb(255, 0, 0)", "line-through", True],
                                 ["?", "rgb(255, 64, 64)", "none", True]])
        self.assertEqual([self.caption(n) for n in ("Label10", "Label11", "Label12", "lblZnamka")],
                         ["003", "001", "001", "3"])
        verdicts = [description for role, _, description, _ in chromium.accessibility(self.driver)
                    if role == "textbox" and description]
        self.assertEqual(sorted(verdicts), ["nevyplněno", "správně", "správně", "správně", "špatně"])

        # "Známka" brings the results and says them; "Příklady" takes them away; "Znovu" starts over.
        self.element("Command2").click()
        chromium.wait_for(self.driver, "Command2.textContent === 'Příklady' && !Module.pausing()")
        self.wait_until_still()
        self.assertEqual(self.js("getComputedStyle(Picture5).left"), "5px")
        self.assertIn("známka 3", self.js("announcer.textContent"))
        self.keys(Keys.ENTER)
        self.wait_until_still()
        self.assertEqual(self.js("[Command2.textContent, getComputedStyle(Picture5).left]"), ["Známka", "700px"])
        self.element("Command2").click()
        self.wait_until_still()
        self.element("Command4").click()
        chromium.wait_for(self.driver, "document.activeElement.id === 'Command3'", 15)
        self.assertEqual(self.js("[getComputedStyle(Picture6).top, Picture1.hidden, "
                                 "document.querySelectorAll('[data-index]').length]"), ["27px", True, 0])

    def test_the_clock_runs_out(self):
        self.start("2", "2")
        chromium.wait_for(self.driver, "Command2.textContent === 'Známka' && !Command2.hidden", 15)
        self.assertEqual([self.caption(n) for n in ("Label12", "lblZnamka")], ["002", "5"])
        self.assertEqual(self.caption("lblCas"), "00:00:00")

    def test_a_frozen_tab_finishes_its_slide(self):
        # A tab the browser stops in the background resumes where it was and ends the slide.
        first = self.driver.current_window_handle
        self.driver.switch_to.new_window("tab")
        chromium.resize(self.driver, 520, 243)
        chromium.open_page(self.driver)
        self.element("Command3").click()
        self.driver.execute_cdp_cmd("Page.setWebLifecycleState", {"state": "frozen"})
        time.sleep(1.5)
        # Unfrozen, the tab stays hidden until it is shown again, as a tab the pupil returns to.
        self.driver.execute_cdp_cmd("Page.setWebLifecycleState", {"state": "active"})
        self.driver.execute_cdp_cmd("Emulation.setFocusEmulationEnabled", {"enabled": True})
        chromium.wait_for(self.driver, "document.activeElement.id === 'txtVysl(1)'")
        self.assertEqual(self.js("[getComputedStyle(Picture6).top, getComputedStyle(Picture7).left, Picture7.hidden]"),
                         ["-190px", "-600px", True])
        self.assertEqual(chromium.console_errors(self.driver), [])
        self.driver.close()
        self.driver.switch_to.window(first)
        self.driver.execute_cdp_cmd("Page.bringToFront", {})

    def test_closing_the_tab_mid_slide(self):
        first = self.driver.current_window_handle
        self.driver.switch_to.new_window("tab")
        chromium.open_page(self.driver)
        self.element("Command3").click()
        time.sleep(0.2)
        self.assertTrue(self.js("Module.pausing()"))
        self.driver.close()
        self.driver.switch_to.window(first)
        self.driver.execute_cdp_cmd("Page.bringToFront", {})
        self.start("3", "100")


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


class Site(unittest.TestCase):
    def test_works_offline_after_the_first_visit(self):
        site = chromium.BUILD / "site"
        handler = functools.partial(QuietHandler, directory=site)
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
