"""The browser program, the page opened from disk in headless Chromium (tools/chromium.py), handled
with real keys and read as a screen reader reads it: Chromium's accessibility tree."""

import sys
from pathlib import Path

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools"))
import chromium  # noqa: E402

KEYS = {"Tab": Keys.TAB, "Return": Keys.ENTER, "space": Keys.SPACE, "Up": Keys.ARROW_UP, "Down": Keys.ARROW_DOWN,
        "Page_Up": Keys.PAGE_UP, "Page_Down": Keys.PAGE_DOWN, "Home": Keys.HOME, "End": Keys.END,
        "BackSpace": Keys.BACKSPACE, "Delete": Keys.DELETE}
MODIFIERS = {"shift": Keys.SHIFT, "ctrl": Keys.CONTROL}

# Each announcement is a new line in the live region; the page keeps them for announced().
LISTEN = ("window.said = []; new MutationObserver(() => said.push(announcer.textContent))"
          ".observe(announcer, { childList: true, subtree: true, characterData: true });")
# What each kind of control shows: a box its value, a label its first child, a check box its last.
TEXT = ("const e = document.getElementById(arguments[0]); return e === null ? null : "
        "e.localName === 'input' ? e.value : e.classList.contains('label') ? e.firstElementChild.textContent : "
        "e.classList.contains('check') ? e.lastElementChild.textContent : e.textContent;")


class Program:
    def __init__(self, build_dir, args=()):
        self.driver = chromium.start()
        try:
            # The command line's exercise is what a teacher shares as the page's address.
            args = list(args)
            fragment = "#" + args[args.index("--cviceni") + 1] if "--cviceni" in args else ""
            chromium.open_page(self.driver, (Path(build_dir) / "sumatko2001.html").as_uri() + fragment)
            self.driver.execute_script(LISTEN)
        except BaseException:
            self.driver.quit()
            raise

    def close(self):
        if self.driver:
            self.driver.quit()
            self.driver = None

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def keys(self, *keys):
        for key in keys:
            *modifiers, name = key.split("+")
            chain = ActionChains(self.driver)
            for modifier in modifiers:
                chain.key_down(MODIFIERS[modifier])
            chain.send_keys(KEYS.get(name, name))
            for modifier in modifiers:
                chain.key_up(MODIFIERS[modifier])
            chain.perform()

    def type(self, text):
        ActionChains(self.driver).send_keys(text).perform()

    def paste(self, text):
        # Writing the clipboard takes a user's gesture, which a script run from outside has not.
        self.driver.execute_cdp_cmd("Runtime.evaluate", {"expression": f"navigator.clipboard.writeText({text!r})",
                                                         "userGesture": True, "awaitPromise": True})
        self.keys("ctrl+v")

    def focused(self):
        return self.js("const c = document.activeElement.closest('[data-which]'); return c ? c.id : ''")

    def text(self, control):
        return self.js(TEXT, control)

    def selection(self, control):
        return self.js("const e = document.getElementById(arguments[0]); "
                       "return e.value.substring(e.selectionStart, e.selectionEnd)", control)

    def spoken(self, control):
        # A label has no name of its own: a reader reads the text that is not hidden from it.
        label = self.js("const e = document.getElementById(arguments[0]); return e.classList.contains('label') "
                        "? (e.querySelector('.spoken') ?? e).textContent : null", control)
        if label is not None:
            return label, ""
        # The node a screen reader reads: a check box's own input, anything else its element.
        node = self.driver.execute_cdp_cmd("DOM.describeNode", {"objectId": self.driver.execute_cdp_cmd(
            "Runtime.evaluate", {"expression": f"(e => e.querySelector('input') ?? e)"
                                               f"(document.getElementById({control!r}))"})["result"]["objectId"]})
        tree = self.driver.execute_cdp_cmd("Accessibility.getPartialAXTree",
                                           {"backendNodeId": node["node"]["backendNodeId"], "fetchRelatives": False})
        ax = tree["nodes"][0]
        return ax.get("name", {}).get("value", ""), ax.get("description", {}).get("value", "")

    def value(self, control):
        return self.js("return Number(document.getElementById(arguments[0]).querySelector('input').checked)", control)

    def announced(self):
        return self.js("return said.splice(0)")

    def message(self):
        return self.js("return message.open ? document.getElementById('message-text').textContent : null")

