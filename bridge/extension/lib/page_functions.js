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

// Whether the last right click in this frame was on a field that a fixed
// string may be typed into: a text or password input, or a text area, that
// takes input.
export function isTextFieldUnderPointer() {
  const field = globalThis.orbiskMenuTarget;
  if (!field || !field.isConnected || field.ownerDocument !== document) return false;
  const type = String(field.type || '').toLowerCase();
  const isField = (field.tagName === 'INPUT' && (type === 'text' || type === 'password')) || field.tagName === 'TEXTAREA';
  return isField && !field.readOnly && !field.disabled;
}

// Types `text` over the selection of the field under the pointer, or at its
// caret, as the user would have typed it: the browser's own editing command
// puts it on the field's undo stack, so Ctrl+Z takes it back. Where that
// command is refused, the text is set directly and the page told through an
// input event. False when the field is no longer one to type into.
export function insertIntoField(text) {
  const field = globalThis.orbiskMenuTarget;
  if (!field || !field.isConnected || field.ownerDocument !== document) return false;
  const type = String(field.type || '').toLowerCase();
  const isField = (field.tagName === 'INPUT' && (type === 'text' || type === 'password')) || field.tagName === 'TEXTAREA';
  if (!isField || field.readOnly || field.disabled) return false;
  if (document.activeElement !== field) field.focus();
  if (document.activeElement === field && document.execCommand('insertText', false, text)) return true;
  field.setRangeText(text, field.selectionStart, field.selectionEnd, 'end');
  field.dispatchEvent(new InputEvent('input', { bubbles: true, inputType: 'insertText', data: text }));
  return true;
}
