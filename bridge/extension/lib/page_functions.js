// Functions that scripting.executeScript runs inside a frame of the page.
// They are sent as source text, so each one must stand alone: no imports, no
// names from outside its own body. They run in the extension's isolated
// world, where content.js keeps the element of the frame's last right click
// in globalThis.orbiskMenuTarget.

// The facts of the frame the menu was opened in that `needs` names, gathered
// the way the item scripts gathered them in the old browser. Facts not asked
// for are not looked at; the prompt only opens for an item that asks for
// typed text.
export function gatherFrameFacts(needs) {
  const want = new Set(Array.isArray(needs) ? needs : []);
  const facts = {};
  // Windows line ends, as the old browser handed texts to the scripts.
  const windowsLines = (text) => String(text ?? '').replace(/\r\n|\r|\n/g, '\r\n');
  // VBScript's Trim: blanks only, not tabs or line breaks.
  const trimBlanks = (text) => text.replace(/^ +/, '').replace(/ +$/, '');
  const escapeHtml = (text) =>
    text.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;').replace(/\u00a0/g, '&nbsp;');

  if (want.has('frameUrl')) facts.frameUrl = document.URL;
  if (want.has('frameTitle')) facts.frameTitle = windowsLines(document.title);
  if (window === window.top) {
    if (want.has('topUrl')) facts.topUrl = document.URL;
    if (want.has('topTitle')) facts.topTitle = windowsLines(document.title);
  }

  const recorded = globalThis.orbiskMenuTarget;
  const target = recorded && recorded.isConnected && recorded.ownerDocument === document ? recorded : null;

  if (want.has('linkUrl') || want.has('linkText')) {
    // The link under the pointer, or the one around the image or text under
    // it. Only an HTML <a> with a target counts, as only that had an href.
    const link = target && target.closest ? target.closest('a[href]') : null;
    if (link && typeof link.href === 'string') {
      if (want.has('linkUrl')) facts.linkUrl = link.href;
      if (want.has('linkText')) facts.linkText = windowsLines(link.innerText);
    }
  }

  if (want.has('imageUrl') || want.has('imageAlt')) {
    let url = '';
    let alt = '';
    const tag = target ? target.tagName : '';
    if (tag === 'IMG') {
      url = target.src;
      alt = target.alt;
    } else if (tag === 'INPUT' && target.type === 'image') {
      url = target.src;
      alt = target.alt;
    } else if (tag === 'AREA') {
      // An image-map area: its own text, and the first image that uses
      // its map for the address (and for the text when the area has none).
      alt = target.alt;
      const map = target.closest('map');
      const useMap = '#' + (map ? map.name : '');
      const image = Array.from(document.images).find((img) => img.useMap === useMap);
      if (image) {
        url = image.src;
        if (alt === '') alt = image.alt;
      }
    }
    if (want.has('imageUrl')) facts.imageUrl = url;
    if (want.has('imageAlt')) facts.imageAlt = windowsLines(alt);
  }

  if (want.has('selectionText') || want.has('selectionSource')) {
    let text = '';
    let source = '';
    const field = document.activeElement;
    let start = null;
    let end = null;
    if (field && (field.tagName === 'TEXTAREA' || field.tagName === 'INPUT')) {
      try {
        start = field.selectionStart;
        end = field.selectionEnd;
      } catch {
        // Inputs without a text selection (checkbox, number…) throw here.
      }
    }
    if (typeof start === 'number' && typeof end === 'number' && start < end) {
      // A selection inside a text field is the field's own; the page's
      // selection object does not show it in every browser.
      text = field.value.slice(start, end);
      source = escapeHtml(text);
    } else {
      const selection = window.getSelection();
      if (selection) {
        text = selection.toString();
        for (let i = 0; i < selection.rangeCount; ++i) {
          const holder = document.createElement('div');
          holder.appendChild(selection.getRangeAt(i).cloneContents());
          source += holder.innerHTML;
        }
      }
    }
    if (want.has('selectionText')) facts.selectionText = trimBlanks(windowsLines(text));
    if (want.has('selectionSource')) facts.selectionSource = windowsLines(source);
  }

  if (want.has('inputText')) {
    // An empty question and an empty default, as before; cancel gives "".
    const typed = window.prompt('', '');
    facts.inputText = typed === null || typed === undefined ? '' : String(typed);
  }
  return facts;
}

// The top document's facts, for a menu opened inside a frame.
export function gatherTopFacts(needs) {
  const want = new Set(Array.isArray(needs) ? needs : []);
  const facts = {};
  if (want.has('topUrl')) facts.topUrl = document.URL;
  if (want.has('topTitle')) facts.topTitle = document.title;
  return facts;
}

// Types a fixed string where the user right-clicked, as the user would have
// typed it: over the selection of the field or editable region under the
// pointer, or at its caret. With `text` null it only tells whether there is
// such a place, so that the host is not asked for a text that has nowhere to
// go. The browser offers the entry over every editable place ("editable"):
// text, search, email, url, tel and password inputs, text areas,
// contenteditable regions and documents in design mode, also inside open
// shadow roots and frames, and number inputs, which take a number alone; a
// read-only or disabled field and a contenteditable="false" part are none.
// The browser's own editing command puts the text on the place's undo stack,
// so Ctrl+Z takes it back, and fires beforeinput and input for the page.
// Where that command is refused, the text goes in as a paste of plain text,
// and else directly, with an input event. An editable region is offered a
// text of several lines as a paste first, and in Chromium any text as typing
// before the command (see below).
// `throughFrames`: for a frame that content.js was never loaded into
// (Firefox leaves out frames a page writes with document.write, as some
// editors do), run in the page above it: the right click focused the frame
// and the place in it, so the focus leads down through same-origin frames.
// `commandSendsBeforeInput`: whether the browser's editing command sends a
// beforeinput event (Firefox's does, Chromium's does not).
// False when there is no place to type into, null when this frame saw no
// right click (see above); with a text, a promise of true once it is in.
export function typeIntoEditable(text, throughFrames = false, commandSendsBeforeInput = false) {
  const TEXT_TYPES = ['text', 'search', 'email', 'url', 'tel', 'password'];
  let doc = document;
  // The focused element of `doc`, inside open shadow roots too.
  const focusedIn = (d) => {
    let el = d.activeElement;
    while (el && el.shadowRoot && el.shadowRoot.activeElement) el = el.shadowRoot.activeElement;
    return el;
  };
  let target;
  if (throughFrames) {
    let frames = 0;
    for (;;) {
      const el = focusedIn(doc);
      let inner = null;
      try {
        inner = el && (el.tagName === 'IFRAME' || el.tagName === 'FRAME') ? el.contentDocument : null;
      } catch {
        inner = null;
      }
      if (!inner) break;
      doc = inner;
      frames += 1;
    }
    if (frames === 0) return false;
    target = focusedIn(doc);
  } else {
    // content.js records the element of the frame's last right click. With
    // no record, or with the focus gone into a frame below since, the right
    // click was not seen here: null tells the caller to look through frames.
    target = globalThis.orbiskMenuTarget;
    const active = focusedIn(doc);
    if (target === undefined || (active && (active.tagName === 'IFRAME' || active.tagName === 'FRAME'))) return null;
  }
  // The browsers offer the entry over number inputs too, which take a
  // number alone.
  const isNumberField = (el) => el.tagName === 'INPUT' && String(el.type).toLowerCase() === 'number';
  const isTextField = (el) =>
    el.tagName === 'TEXTAREA' || (el.tagName === 'INPUT' && TEXT_TYPES.includes(String(el.type).toLowerCase())) || isNumberField(el);
  const isElement = (el) => !!el && el.nodeType === 1 && el.isConnected && el.ownerDocument === doc;
  const takesText = (el) =>
    isElement(el) && (isTextField(el) ? !el.readOnly && !el.disabled : el.isContentEditable === true || doc.designMode === 'on');
  if (!takesText(target)) return false;
  if (text === null || text === undefined) return true;
  const view = doc.defaultView;
  // One break for the old browser's CR LF; the editing command turns it into
  // the place's own line break. A one-line field has none: there a break is
  // a blank, in every browser, as Chromium types it and Firefox pastes it
  // (Firefox's editing command would drop it and join the lines).
  const lines = String(text).replace(/\r\n?/g, '\n');
  const typed = target.tagName === 'INPUT' ? lines.replace(/\n/g, ' ') : lines;
  if (typed === '') return true;

  const focus = (el) => {
    const active = focusedIn(doc);
    if (active !== el && !el.contains(active)) el.focus({ preventScroll: true });
    const now = focusedIn(doc);
    return now === el || el.contains(now);
  };
  // Whether the page took the text offered to it: an event it cancelled, or
  // a paste it handles in its own time, changed the place (`state` reads
  // it), at once or, where the page commits its own changes a moment later
  // (from a hidden paste area, as some editors read a paste), within a few
  // tasks. A page that changed nothing refused it.
  const took = async (state, was, offered) => {
    for (let wait = 0; offered && state() === was && wait < 5; ++wait) await new Promise((resolve) => setTimeout(resolve, 20));
    return offered && state() !== was;
  };
  // A paste of plain text: what editors that refuse a script's editing
  // command still take into their model, each as one step of its undo.
  // The event once sent, else null; no browser acts on it by itself, a
  // page's editor may. Chromium's event takes the text as a DataTransfer;
  // Firefox's has no `clipboardData` to take and would reach the page
  // empty, but fills its own from `dataType` and `data`, which Chromium's
  // leaves aside. A paste that would still reach the page empty is not sent.
  const paste = (el) => {
    try {
      const data = new view.DataTransfer();
      data.setData('text/plain', typed);
      const event = new view.ClipboardEvent('paste', {
        clipboardData: data, dataType: 'text/plain', data: typed, bubbles: true, cancelable: true, composed: true,
      });
      if (!event.clipboardData || event.clipboardData.getData('text/plain') !== typed) return null;
      el.dispatchEvent(event);
      return event;
    } catch {
      return null;
    }
  };
  const told = (el) => el.dispatchEvent(new view.InputEvent('input', { bubbles: true, composed: true, inputType: 'insertText', data: typed }));
  // The text offered as typing, as a beforeinput event, which no browser
  // acts on by itself: true when the page cancelled it. Chromium's editing
  // command sends none, so a page there hears it first from here: one that
  // refuses typing (an editor while busy, an input mask that writes the
  // field itself) cancels it, as it would in Firefox.
  const offer = () =>
    !target.dispatchEvent(new view.InputEvent('beforeinput', {
      inputType: 'insertText', data: typed, bubbles: true, cancelable: true, composed: true,
    }));

  // The browser's editing command at the focused place. Its own beforeinput
  // and input events are caught on their way down, before any handler of
  // the page can stop them, and read once the command is over: whether it
  // ran, whether the page cancelled its beforeinput, and whether the browser
  // told of an insertion.
  const runCommand = () => {
    let beforeInput = null;
    let inserted = false;
    const watch = (event) => {
      if (event.type === 'input') inserted = true;
      else if (event.inputType === 'insertText') beforeInput = event;
    };
    view.addEventListener('beforeinput', watch, { capture: true });
    view.addEventListener('input', watch, { capture: true });
    let done = false;
    try {
      done = doc.execCommand('insertText', false, typed);
    } finally {
      view.removeEventListener('beforeinput', watch, { capture: true });
      view.removeEventListener('input', watch, { capture: true });
    }
    return { done, beforeInputCancelled: beforeInput !== null && beforeInput.defaultPrevented, inserted };
  };

  if (isNumberField(target)) {
    // A text that is a number (a date's digits, a reference number) is
    // typed at the field's caret, which no script can read there, as keys
    // would type it. Any other text goes nowhere: the field would drop its
    // letters, or in Firefox take them and lose its number. Nor is it set
    // directly where the command is refused, which could only replace the
    // whole number.
    if (/^-?(\d+|\d*\.\d+)([eE][-+]?\d+)?$/.test(typed) && focus(target)) doc.execCommand('insertText', false, typed);
    return true;
  }
  if (isTextField(target)) {
    return (async () => {
      const value = () => target.value;
      const was = value();
      // Where the command sends no beforeinput, the page is offered the text
      // as typing first; a page that cancelled it and wrote the text itself
      // took it, one that left the field as it was refused the command.
      const refused = !commandSendsBeforeInput && focus(target) && offer();
      if (refused && (await took(value, was, true))) return true;
      if (!refused && focus(target)) {
        // A command whose beforeinput the page cancelled (Firefox sends one)
        // and that left the field as it was counts as refused, as in a region.
        const command = runCommand();
        if (command.done && !(command.beforeInputCancelled && value() === was)) return true;
      }
      if (await took(value, was, paste(target) !== null)) return true;
      // Email inputs keep no selection a script can read; the text goes last.
      const start = target.selectionStart ?? target.value.length;
      const end = target.selectionEnd ?? target.value.length;
      // No longer than the field takes, as typing would cut it, and never
      // half of a character written with two code units.
      let fitting = typed;
      if (target.maxLength >= 0) {
        const room = Math.max(0, target.maxLength - (target.value.length - (end - start)));
        fitting = typed.slice(0, room);
        if (/[\ud800-\udbff]$/.test(fitting) && fitting.length < typed.length) fitting = fitting.slice(0, -1);
      }
      if (target.selectionStart === null) target.value = target.value.slice(0, start) + fitting + target.value.slice(end);
      else target.setRangeText(fitting, start, end, 'end');
      told(target);
      return true;
    })();
  }

  // A contenteditable region: the text goes over the selection when it lies
  // in the region's editing host, else at the end of the element clicked.
  let host = target;
  while (host.parentElement && host.parentElement.isContentEditable) host = host.parentElement;
  const root = host.getRootNode();
  const selection = (typeof root.getSelection === 'function' && root.getSelection()) || doc.getSelection();
  if (!selection) return false;
  const inHost = (node) => !!node && (node === host || host.contains(node));
  // The caret at the end of the element clicked.
  const endOfTarget = () => {
    const range = doc.createRange();
    range.selectNodeContents(target);
    range.collapse(false);
    return range;
  };
  // Read before the focus moves: focusing a region whose selection is
  // elsewhere (a page may move the focus away on the click) puts a caret at
  // its start, which the user never chose.
  const selectionInHost = () => selection.rangeCount > 0 && inHost(selection.anchorNode) && inHost(selection.focusNode);
  const hadSelection = selectionInHost();
  focus(host);
  if (!hadSelection || !selectionInHost()) {
    selection.removeAllRanges();
    selection.addRange(endOfTarget());
  }
  const content = () => host.innerHTML;
  const was = content();
  // Editors with a model of their own take a text of several lines as
  // typing one line and one break at a time, each its own step of their
  // undo (CKEditor 5), or, at the end of a line, lose its breaks in Firefox
  // (Quill). Pasted, such a text reaches them whole, as one step. A plain
  // region leaves the paste alone, and then gets the editing command, which
  // is one step of the browser's own undo.
  const pasteFirst = typed.includes('\n');
  // Editors that keep a model of their own behind the region (CKEditor 5,
  // Quill over a selection) take typing from its beforeinput event, cancel
  // it and change the region from their model. Firefox's editing command
  // sends that event; Chromium's does not, and there the text it puts into
  // the DOM alone is thrown away at the editor's next render. So in Chromium
  // the text is offered first as typing (`offer`): an editor that took it
  // has cancelled it and changed the region.
  // A paste the page cancelled and answered by changing the document was
  // taken, even where the region itself stayed as it was: block editors
  // put pasted lines into blocks of their own beside the one clicked.
  const tookPaste = async () => {
    let changed = false;
    const watcher = new MutationObserver(() => {
      changed = true;
    });
    for (const node of new Set([doc, host.getRootNode()])) watcher.observe(node, { subtree: true, childList: true, characterData: true });
    try {
      const event = paste(target);
      const answered = () => content() !== was || (event.defaultPrevented && changed);
      for (let wait = 0; event !== null && !answered() && wait < 5; ++wait) await new Promise((resolve) => setTimeout(resolve, 20));
      return event !== null && answered();
    } finally {
      watcher.disconnect();
    }
  };
  return (async () => {
    if (pasteFirst && (await tookPaste())) return true;
    if (!commandSendsBeforeInput && (await took(content, was, offer()))) return true;
    // A page that cancelled the command (its beforeinput, or in Firefox the
    // textInput event after it, from which some editors take typing)
    // changes the region itself, if at all, and the browser then sends no
    // input event; a cancelled command that left the region as it was
    // counts as refused.
    const command = runCommand();
    const cancelled = command.beforeInputCancelled || !command.inserted;
    if (command.done && (!cancelled || (await took(content, was, true)))) {
      // Editors that learn of typing from its keys (TinyMCE) record an undo
      // step only for a change they saw begin; an input event without data,
      // as browsers send after replacing text themselves (a spelling fix),
      // has them record this one, so that Ctrl+Z takes it back. Not after a
      // command the page took over: an editor that reads the region back on
      // input would take its old text, not yet redrawn, for the user's.
      if (!cancelled) host.dispatchEvent(new view.InputEvent('input', { bubbles: true, composed: true, inputType: 'insertText', data: null }));
      return true;
    }
    if (commandSendsBeforeInput && (await took(content, was, offer()))) return true;
    if (!pasteFirst && (await tookPaste())) return true;
    // Set directly, over the selection if the page left one in the region.
    // A line break is one where the region shows breaks as they are
    // (plain-text regions, preformatted ones), else a <br>.
    let range = selection.rangeCount > 0 ? selection.getRangeAt(0) : null;
    if (!range || !inHost(range.startContainer) || !inHost(range.endContainer)) range = endOfTarget();
    range.deleteContents();
    const keepsBreaks =
      host.contentEditable === 'plaintext-only' || /^(pre|pre-wrap|pre-line|break-spaces)$/.test(view.getComputedStyle(host).whiteSpace);
    const pieces = keepsBreaks ? [typed] : typed.split('\n');
    const fragment = doc.createDocumentFragment();
    pieces.forEach((piece, i) => {
      if (i > 0) fragment.append(doc.createElement('br'));
      if (piece !== '') fragment.append(doc.createTextNode(piece));
    });
    const last = fragment.lastChild;
    range.insertNode(fragment);
    range.setStartAfter(last);
    range.collapse(true);
    selection.removeAllRanges();
    selection.addRange(range);
    told(host);
    return true;
  })();
}
