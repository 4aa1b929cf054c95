"""Figures of the browser program in headless Chromium: the page's size, Start's slides and the
finish with 10 problems as wall time over nominal time, and its first painted frame against a
bare page holding only the black 520 x 243 window."""
import pathlib
import statistics
import sys
import tempfile

sys.dont_write_bytecode = True  # nothing of the run in the source tree
sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "tests" / "web"))
import chromium  # noqa: E402

START_NOMINAL_MS = (8 + 11) * 50.0  # the two slides of Start, 50 ms a step


def finish_nominal_ms(rows):
    return 1000.0 + rows * 6 * 10.0 + 1500.0


# Runs a button's sequence and returns its wall time: from the click to the moment the sequence
# puts the focus on row 1, its last step.
SEQUENCE = """
const done = arguments[arguments.length - 1];
const start = performance.now();
Form1.addEventListener('focusin', (event) => {
  if (event.target.id === 'txtVysl(1)')
    done(performance.now() - start);
}, { once: true });
document.getElementById(arguments[0]).click();
"""

# Before any of the page's own scripts: the moment the window (the element named by
# window.frameOf) first reaches the screen with its fonts, as the frame after it was complete.
FIRST_FRAME = """
new MutationObserver((_, observer) => {
  const window_ = document.querySelector(window.frameOf || '#Command3');
  if (!window_)
    return;
  observer.disconnect();
  document.fonts.load('bold 11px "Liberation Sans"').then(() =>
    requestAnimationFrame(() => setTimeout(() => { document.documentElement.dataset.frame = performance.now(); })));
}).observe(document, { childList: true, subtree: true });
"""

BARE = """<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>bare</title>
<script>window.frameOf = '#Form1';</script></head>
<body style="margin:0;height:100vh;display:grid;place-items:center;background:#262626">
<div id="Form1" style="width:520px;height:243px;background:#000"></div></body></html>
"""


def sequences(driver, runs=3):
    starts, finishes = [], []
    driver.set_script_timeout(30)
    for _ in range(runs):
        chromium.open_page(driver)
        starts.append(driver.execute_async_script(SEQUENCE, "Command3") / START_NOMINAL_MS)
        chromium.wait_for(driver, "!Module.pausing()")
        finishes.append(driver.execute_async_script(SEQUENCE, "Command1") / finish_nominal_ms(10))
    return statistics.median(starts), statistics.median(finishes)


def first_frame(driver, url):
    driver.get(url)
    return float(chromium.wait_for(driver, "document.documentElement.dataset.frame"))


def first_frames(driver, pairs=15):
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": FIRST_FRAME})
    with tempfile.NamedTemporaryFile("w", suffix=".html", prefix="web-bare-") as bare:
        bare.write(BARE)
        bare.flush()
        bare_url = pathlib.Path(bare.name).as_uri()
        first_frame(driver, chromium.PAGE)  # the browser's own first start is no one's
        program, plain = [], []
        for _ in range(pairs):
            program.append(first_frame(driver, chromium.PAGE))
            plain.append(first_frame(driver, bare_url))
    ratio = statistics.median(p / b for p, b in zip(program, plain))
    return statistics.median(program), statistics.median(plain), ratio


driver = chromium.start()
try:
    print(f"web_html_kb: {(chromium.BUILD / 'sumatko2001.html').stat().st_size / 1024:.0f} KB")
    slide, finish = sequences(driver)
    print(f"web_slide_ratio: {slide:.4f} x")
    print(f"web_finish_ratio_10: {finish:.4f} x")
    program_ms, bare_ms, ratio = first_frames(driver)
    print(f"web_first_frame_ms: {program_ms:.1f} ms")
    print(f"web_first_frame_bare_ms: {bare_ms:.1f} ms")
    print(f"web_first_frame_ratio: {ratio:.3f} x")
finally:
    driver.quit()
