// The viewer's script: injected into every document and frame when the document is created,
// before any of the document's own scripts, in the documents' own world (a world of its own
// costs each load several milliseconds). The program trusts its answers, so it takes every
// builtin, DOM accessor and method it uses here, while they are still the engine's own, and
// never looks one up again; what it offers the program is a frozen object on a property of the
// window that cannot be replaced; its messages carry the viewer's random marker, which only
// this closure knows. Called by the program with the configuration and the marker.
(function (initialConfig, marker) {
  'use strict';
  if ('__vitrina' in window) return;
  // A page has no peer connections: they would open sockets of their own, beside every rule of the
  // document scheme.
  for (const name of ['RTCPeerConnection', 'webkitRTCPeerConnection']) delete window[name];

  const O = Object, R = Reflect;
  const defineProperty = O.defineProperty, freeze = O.freeze, getPrototypeOf = O.getPrototypeOf;
  const ownDescriptor = R.getOwnPropertyDescriptor, apply = R.apply;
  const uncurry = Function.prototype.bind.bind(Function.prototype.call);
  // The accessor or method as the engine defined it, from the object or its prototypes.
  function descriptor(o, name) {
    for (; o; o = getPrototypeOf(o)) {
      const d = ownDescriptor(o, name);
      if (d) return d;
    }
    return null;
  }
  const get = (o, name) => uncurry(descriptor(o, name).get);
  const set = (o, name) => uncurry(descriptor(o, name).set);
  const method = (o, name) => uncurry(descriptor(o, name).value);

  const log = apply(Function.prototype.bind, console.log, [console]);
  const stringify = JSON.stringify, decode = decodeURI, round = Math.round;
  const lower = method(String.prototype, 'toLowerCase');
  const startsWith = method(String.prototype, 'startsWith');
  const WeakMapOf = WeakMap, Observer = MutationObserver;
  const weakGet = method(WeakMap.prototype, 'get'), weakSet = method(WeakMap.prototype, 'set');
  const observe = method(Observer.prototype, 'observe'), disconnect = method(Observer.prototype, 'disconnect');

  const P = window;
  const winDocument = get(P, 'document'), winFrames = get(P, 'length'), winName = get(P, 'name');
  const winScrollX = get(P, 'scrollX'), winScrollY = get(P, 'scrollY');
  const winScrollTo = method(P, 'scrollTo'), winFind = method(P, 'find'), winSelection = method(P, 'getSelection');
  const listen = method(P, 'addEventListener');
  const D = Document.prototype;
  const docRoot = get(D, 'documentElement'), docHead = get(D, 'head'), docBody = get(D, 'body');
  const docUrl = get(D, 'URL'), docTitle = get(D, 'title'), docType = get(D, 'contentType');
  const docActive = get(D, 'activeElement'), docAt = method(D, 'elementFromPoint');
  const docCreate = method(D, 'createElement'), docOne = method(D, 'querySelector');
  const docAll = method(D, 'querySelectorAll');
  const N = Node.prototype;
  const nodeType = get(N, 'nodeType'), nodeParent = get(N, 'parentNode'), nodeFirst = get(N, 'firstChild');
  const nodeInsert = method(N, 'insertBefore'), setText = set(N, 'textContent');
  const E = Element.prototype;
  const tagName = get(E, 'tagName'), hasAttr = method(E, 'hasAttribute'), getAttr = method(E, 'getAttribute');
  const setAttr = method(E, 'setAttribute'), removeAttr = method(E, 'removeAttribute');
  const bounds = method(E, 'getBoundingClientRect'), clientLeft = get(E, 'clientLeft'), clientTop = get(E, 'clientTop');
  const rectLeft = get(DOMRectReadOnly.prototype, 'left'), rectTop = get(DOMRectReadOnly.prototype, 'top');
  const styleOf = get(HTMLElement.prototype, 'style'), setStyle = method(CSSStyleDeclaration.prototype, 'setProperty');
  const listLength = get(NodeList.prototype, 'length'), listItem = method(NodeList.prototype, 'item');
  const anchorHref = get(HTMLAnchorElement.prototype, 'href'), areaHref = get(HTMLAreaElement.prototype, 'href');
  const frameWindow = get(HTMLFrameElement.prototype, 'contentWindow');
  const frameDocument = get(HTMLFrameElement.prototype, 'contentDocument');
  const iframeWindow = get(HTMLIFrameElement.prototype, 'contentWindow');
  const iframeDocument = get(HTMLIFrameElement.prototype, 'contentDocument');
  const imageSrc = get(HTMLImageElement.prototype, 'src');
  const inputSrc = get(HTMLInputElement.prototype, 'src'), inputType = get(HTMLInputElement.prototype, 'type');
  const S = HTMLSelectElement.prototype;
  const selectMultiple = get(S, 'multiple'), selectSize = get(S, 'size'), selectIndex = get(S, 'selectedIndex');
  const selectLength = get(S, 'length'), selectItem = method(S, 'item');
  const optionText = get(HTMLOptionElement.prototype, 'text');
  // isTrusted is an own property of every event that no script can redefine.
  const eventTarget = get(Event.prototype, 'target');
  const relatedTarget = get(MouseEvent.prototype, 'relatedTarget');
  const L = Selection.prototype;
  const selectionText = method(L, 'toString'), removeAllRanges = method(L, 'removeAllRanges');
  const collapse = method(L, 'collapse'), selectAllChildren = method(L, 'selectAllChildren');

  const document = winDocument(P);
  let config = initialConfig;
  let counter = 0;
  const pictureIds = new WeakMapOf();
  let defaults = null;

  // Only own elements, each defined, so that no setter of a prototype sees them.
  function append(list, value) {
    defineProperty(list, list.length, { __proto__: null, value, writable: true, enumerable: true, configurable: true });
  }
  function post(o) { log(marker + stringify(o)); }
  function isFrame(el) {
    if (!el) return false;
    const t = tagName(el);
    return t === 'FRAME' || t === 'IFRAME';
  }
  function contentWindowOf(el) { return tagName(el) === 'FRAME' ? frameWindow(el) : iframeWindow(el); }
  function contentDocumentOf(el) { return tagName(el) === 'FRAME' ? frameDocument(el) : iframeDocument(el); }
  function linkOf(n) {
    for (; n && nodeType(n) === 1; n = nodeParent(n)) {
      const t = tagName(n);
      if ((t === 'A' || t === 'AREA') && hasAttr(n, 'href')) return n;
    }
    return null;
  }
  function hrefOf(a) { return tagName(a) === 'AREA' ? areaHref(a) : anchorHref(a); }
  function baseTarget() {
    const b = docOne(document, 'base[target]');
    return b ? getAttr(b, 'target') || '' : '';
  }
  function styleText(c) {
    let s = ':where(html){color:' + c.text + '}';
    if (!c.bodyLink) s += ':where(a:link){color:' + c.link + '}';
    s += ':where(a[data-vitrina-visited]){color:' + (c.bodyVlink || c.visited) + '}';
    if (c.overActive) s += ':where(a[href]:hover){color:' + c.over + '}';
    if (c.noUnderline) s += ':where(a[href]){text-decoration:none}';
    return s;
  }
  function markVisited() {
    const visited = { __proto__: null };
    const urls = config.visitedUrls;
    for (let i = 0; i < urls.length; ++i) visited[urls[i]] = true;
    const links = docAll(document, 'a[href],area[href]');
    for (let i = 0, n = listLength(links); i < n; ++i) {
      const a = listItem(links, i);
      let u = hrefOf(a);
      try { u = decode(u); } catch (e) {}
      if (visited[lower(u)] === true) setAttr(a, 'data-vitrina-visited', '');
      else removeAttr(a, 'data-vitrina-visited');
    }
  }
  function applyConfig(c) {
    if (c) config = c;
    const root = docRoot(document);
    if (!root) return;
    if (!defaults) {
      defaults = docCreate(document, 'style');
      setAttr(defaults, 'id', '__vitrina_defaults');
    }
    const b = docBody(document);
    const cc = { __proto__: null, text: config.text, link: config.link, visited: config.visited, over: config.over,
                 overActive: config.overActive, noUnderline: config.noUnderline, bodyLink: false, bodyVlink: '' };
    if (b && getAttr(b, 'link')) cc.bodyLink = true;
    if (b && getAttr(b, 'vlink')) cc.bodyVlink = getAttr(b, 'vlink');
    setText(defaults, styleText(cc));
    const head = docHead(document) || root;
    if (nodeFirst(head) !== defaults) nodeInsert(head, defaults, nodeFirst(head));
    const type = docType(document);
    if (b && type && startsWith(type, 'image/')) setStyle(styleOf(b), 'background', config.background);
    markVisited();
  }
  // The script of a frame's document, when it has one (frames of other origins have none here).
  function instanceOf(w) {
    try {
      const v = w && w.__vitrina;
      return v && v !== V ? v : null;
    } catch (e) {
      return null;
    }
  }
  // The window addressed: none is this document's, "*" the frame with the focus, else by name.
  function frame(which) {
    if (!which) return P;
    if (which === '*') {
      let w = P;
      for (;;) {
        const ae = docActive(winDocument(w));
        const inner = isFrame(ae) ? contentWindowOf(ae) : null;
        if (!inner) return w;
        w = inner;
      }
    }
    function search(w) {
      for (let i = 0, n = winFrames(w); i < n; ++i) {
        try {
          const f = w[i];
          if (winName(f) === which) return f;
          const r = search(f);
          if (r) return r;
        } catch (e) {}
      }
      return null;
    }
    return search(P);
  }
  let lastHref = null;
  function report(a) {
    const href = a ? hrefOf(a) : '';
    if (href === lastHref) return;
    lastHref = href;
    post({ __proto__: null, e: 'over', h: a ? getAttr(a, 'href') : '', u: href,
           t: a ? (getAttr(a, 'target') || baseTarget()) : '', d: docUrl(document) });
  }

  const V = {
    __proto__: null,
    apply: applyConfig,
    applyAll(c) {
      applyConfig(c);
      for (let i = 0, n = winFrames(P); i < n; ++i) {
        const f = instanceOf(P[i]);
        if (f) try { f.applyAll(c); } catch (e) {}
      }
    },
    objectAt(x, y) {
      let d = document, el = docAt(d, x, y);
      while (isFrame(el)) {
        let cd = null;
        try { cd = contentDocumentOf(el); } catch (e) {}
        if (!cd) break;
        const r = bounds(el);
        x -= rectLeft(r) + clientLeft(el);
        y -= rectTop(r) + clientTop(el);
        d = cd;
        el = docAt(d, x, y);
      }
      if (!el) return { any: false };
      const t = tagName(el);
      if (t === 'IMG' || (t === 'INPUT' && inputType(el) === 'image')) {
        let id = weakGet(pictureIds, el);
        if (!id) weakSet(pictureIds, el, id = ++counter);
        return { any: true, picture: true, alt: getAttr(el, 'alt') || '', id: id + '@' + docUrl(d),
                 src: t === 'IMG' ? imageSrc(el) : inputSrc(el) };
      }
      return { any: true, picture: false };
    },
    forms(which) {
      const out = [];
      const w = frame(which);
      if (!w) return out;
      const controls = docAll(winDocument(w), 'input,select,textarea,button');
      for (let i = 0, n = listLength(controls); i < n; ++i) {
        const el = listItem(controls, i);
        const select = tagName(el) === 'SELECT';
        const items = [];
        if (select) for (let k = 0, m = selectLength(el); k < m; ++k) append(items, optionText(selectItem(el, k)));
        append(out, { name: getAttr(el, 'name') || '', list: select && !selectMultiple(el) && !(selectSize(el) > 1),
                      items, selected: select ? selectIndex(el) : -1 });
      }
      return out;
    },
    // A find area's frame that the page lacks: the find goes to the frame with the focus.
    find(which, text, matchCase) {
      const w = frame(which) || frame('*');
      return w ? !!winFind(w, text, matchCase, false, false, false, false, false) : false;
    },
    resetSelection(which) {
      const w = frame(which) || frame('*');
      if (!w) return;
      const d = winDocument(w), s = winSelection(w), n = docBody(d) || docRoot(d);
      removeAllRanges(s);
      if (n) collapse(s, n, 0);
    },
    selectAll(which) {
      const w = frame(which);
      if (!w) return;
      const d = winDocument(w), n = docBody(d) || docRoot(d);
      if (n) selectAllChildren(winSelection(w), n);
    },
    selection(which) { const w = frame(which); return w ? selectionText(winSelection(w)) : ''; },
    title(which) { const w = frame(which); return w ? docTitle(winDocument(w)) : ''; },
    url(which) { const w = frame(which); return w ? docUrl(winDocument(w)) : ''; },
    position(which) { const w = frame(which); return w ? round(winScrollY(w)) : 0; },
    setPosition(which, y) { const w = frame(which); if (w) winScrollTo(w, winScrollX(w), y); },
  };
  defineProperty(P, '__vitrina', { __proto__: null, value: freeze(V), writable: false, enumerable: false, configurable: false });

  // Listeners on the window in the capture phase: they run before any the document adds, so no
  // script of the document can stop them; events a script made up are not reports.
  listen(P, 'mouseover', e => { if (e.isTrusted === true) report(linkOf(eventTarget(e))); }, true);
  listen(P, 'mouseout', e => { if (e.isTrusted === true && !linkOf(relatedTarget(e))) report(null); }, true);
  // The reader's own click (the pointer's element, or the focused link on Enter) names the one link
  // that may start something; a click on anything else names none. A script's click() is no report.
  listen(P, 'click', e => {
    if (e.isTrusted !== true) return;
    const a = linkOf(eventTarget(e));
    post({ __proto__: null, e: 'press', u: a ? hrefOf(a) : '' });
  }, true);
  // The defaults go in before the document's own styles, so that those win.
  const watch = new Observer(() => {
    if (docRoot(document)) {
      disconnect(watch);
      applyConfig();
    }
  });
  if (docRoot(document)) applyConfig(); else observe(watch, document, { __proto__: null, childList: true });
  listen(P, 'DOMContentLoaded', () => applyConfig(), true);
})
