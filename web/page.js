// The page's side of the window: it scales the window to the screen, starts the program, and
// reports the pupil's clicks, keys and focus to the program (page.cpp), which decides what they
// do. It also passes whatever comes into an answer box through the box's rule, and drops input
// while a pause runs.
'use strict';
var Module = {};
(() => {
  const root = document.getElementById('Form1');

  // The page holds the window as it stands once loaded, so that it is painted at once; the
  // program starts after that first frame and takes the window over. Until then the window
  // takes no input and tells a screen reader that it is busy.
  root.inert = true;
  root.setAttribute('aria-busy', 'true');
  Module.preRun = [() => {
    root.inert = false;
    root.removeAttribute('aria-busy');
  }];
  addEventListener('DOMContentLoaded', () => requestAnimationFrame(() => setTimeout(() => Sumatko2001(Module))));

  // Scaled to fit the screen; `zoom` lays the window out again at that size, so text and
  // edges stay sharp. (Measuring the screen lays the page out: after the window is marked busy.)
  const fit = () => {
    const width = parseFloat(root.style.width);
    const height = parseFloat(root.style.height);
    document.documentElement.style.setProperty('--scale', Math.min(innerWidth / width, innerHeight / height));
  };
  fit();
  addEventListener('resize', fit);

  // The program's WebAssembly sits in the page gzipped; it is unpacked as it is compiled.
  Module.instantiateWasm = (imports, receive) => {
    const packed = document.getElementById('program').textContent;
    fetch(`data:application/gzip;base64,${packed}`)
      .then((response) => new Response(response.body.pipeThrough(new DecompressionStream('gzip')),
                                       { headers: { 'Content-Type': 'application/wasm' } }))
      .then((wasm) => WebAssembly.instantiateStreaming(wasm, imports))
      .then((result) => receive(result.instance, result.module));
    return {};
  };

  const controlOf = (element) => {
    const control = element instanceof Element ? element.closest('[data-which]') : null;
    return control && root.contains(control) ? control : null;
  };
  const idOf = (control) => [Number(control.dataset.which), Number(control.dataset.index || 0)];
  const running = () => typeof Module.pausing === 'function';

  // While a pause runs, clicks, keys and wheel turns aimed at the window go nowhere.
  for (const type of ['keydown', 'keypress', 'beforeinput', 'paste', 'drop', 'mousedown', 'pointerdown',
                      'touchstart', 'click', 'dblclick', 'auxclick', 'contextmenu', 'wheel']) {
    addEventListener(type, (event) => {
      if (running() && Module.pausing()) {
        event.preventDefault();
        event.stopImmediatePropagation();
      }
    }, { capture: true, passive: false });
  }

  // Keys by what they are, as the Windows virtual-key codes the program takes.
  const virtualKeys = {
    Tab: 9, Enter: 13, ' ': 32, PageUp: 33, PageDown: 34, End: 35, Home: 36,
    ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40,
  };
  addEventListener('keydown', (event) => {
    const key = virtualKeys[event.key];
    if (!key || event.isComposing || !running())
      return;
    const control = controlOf(event.target);
    // With no control focused the keys go to the window itself, as on the desktop.
    if (!control && event.target !== document.body && event.target !== root)
      return;
    const [which, index] = control ? idOf(control) : [0, 0];
    const shift = (event.shiftKey ? 1 : 0) | (event.ctrlKey ? 2 : 0) | (event.altKey ? 4 : 0);
    if (Module.keyDown(which, index, key, shift))
      event.preventDefault();
  });

  root.addEventListener('focusin', (event) => {
    const control = controlOf(event.target);
    if (control && running())
      Module.gotFocus(...idOf(control));
  });
  root.addEventListener('click', (event) => {
    const control = controlOf(event.target);
    if (control && control.localName === 'button' && running())
      Module.clicked(...idOf(control));
  });
  // A locked check box keeps its state, clicked by mouse, keyboard or a screen reader.
  root.addEventListener('click', (event) => {
    if (event.target.matches('input[type=checkbox][aria-readonly=true]'))
      event.preventDefault();
  });
  // A press on a panel or a caption leaves the focus where it is, as on the desktop.
  root.addEventListener('mousedown', (event) => {
    if (!event.target.closest('input, button, label, [tabindex]'))
      event.preventDefault();
  });

  // An answer box keeps of whatever is typed, pasted or dropped into it what its rule allows.
  const ruled = (box) => box instanceof HTMLInputElement && 'maxDigits' in box.dataset && running();
  const accepted = (box, current, from, to, text) => Module.acceptedInsertion(
    box.dataset.minusSign === 'true', Number(box.dataset.maxDigits), current, from, to, text);
  root.addEventListener('beforeinput', (event) => {
    const box = event.target;
    if (!ruled(box) || !event.inputType.startsWith('insert'))
      return;
    const text = event.data ?? event.dataTransfer?.getData('text/plain') ?? '';
    const kept = accepted(box, box.value, box.selectionStart, box.selectionEnd, text);
    if (kept === text && event.inputType !== 'insertLineBreak')
      return;
    event.preventDefault();
    if (kept)
      document.execCommand('insertText', false, kept); // keeps the box's undo
  });
  // What no beforeinput can refuse (an input method's composition) is kept to the rule afterwards.
  const keepToRule = (event) => {
    const box = event.target;
    if (ruled(box) && !event.isComposing) {
      const kept = accepted(box, '', 0, 0, box.value);
      if (kept !== box.value)
        box.value = kept;
    }
  };
  root.addEventListener('input', keepToRule);
  root.addEventListener('compositionend', keepToRule);

  // A message to the teacher, modal; the program hears when it is dismissed.
  Module.showMessage = (message) => {
    const dialog = document.getElementById('message');
    dialog.querySelector('p').textContent = message;
    dialog.onclose = () => Module.messageDismissed();
    dialog.showModal();
  };

  // Closing the tab ends what the window is doing; a page kept for going back starts afresh.
  addEventListener('pagehide', () => {
    if (running())
      Module.unload();
  });
  // A new exercise put into the address of an open page: the page starts afresh with it. (The
  // program's own replaceState raises no hashchange.)
  addEventListener('hashchange', () => location.reload());
  addEventListener('pageshow', (event) => {
    if (event.persisted)
      location.reload();
  });
})();
