// The page: draws what the game's view says and hands the player's events to the game.
// Appended to the program's script by the build. It keeps no rule and no text of the game;
// every event goes to the program by the names the page's elements carry.
(function () {
  'use strict';

  const params = new URLSearchParams(location.search);
  // ?manual: the game clock stands still and the ticker does not scroll by itself; a test
  // drives both through window.realtopia.tick() and .tickerStep().
  const manual = params.has('manual');
  const STORE = 'realtopia/';
  const FILES = {
    hiscores: '/realtopia/data/REALTOPI.DAT',
    saved: '/realtopia/data/REALTOPI.SAV',
    customisation: '/realtopia/REALTOPIA.INI',
  };
  const SOUNDS = ['CLICK', 'GAMEOVER', 'MEEPMEEP'];
  const $ = (id) => document.getElementById(id);

  let view = null;
  let listsRevision = -1;
  let tickerRevision = -1;
  let queue = Promise.resolve();
  let pending = 0;
  let dialogOpen = false;
  let currentDialog = null; // what the open dialog shows, for a test

  // ---- Calls into the game, one at a time, each drawn once it has returned ----

  // `args` may be a function: the arguments are then taken when the call's turn comes.
  function call(name, types, args, returns = 'number') {
    pending++;
    const done = queue
      .then(() => Module.ccall(name, returns, types, typeof args === 'function' ? args() : args))
      .then(
        (result) => {
          pending--;
          afterCall();
          return result;
        },
        (error) => {
          pending--;
          console.error(error);
          afterCall();
        },
      );
    queue = done;
    return done;
  }

  function afterCall() {
    render();
    keepSoon();
    applyMainTimer();
  }

  // ---- The page's side of the game's effects ----

  let audio = null;
  const soundData = {}; // name → ArrayBuffer, or null when it could not be fetched
  const soundBuffers = {}; // name → AudioBuffer, or null when it could not be decoded
  let playing = null;

  function startAudio() {
    if (audio || typeof AudioContext === 'undefined') return;
    audio = new AudioContext();
    for (const name of SOUNDS) decode(name);
  }

  function decode(name) {
    if (!audio || !soundData[name] || name in soundBuffers) return;
    soundBuffers[name] = undefined;
    audio.decodeAudioData(soundData[name].slice(0)).then(
      (buffer) => {
        soundBuffers[name] = buffer;
      },
      () => {
        soundBuffers[name] = null;
      },
    );
  }

  // IEffects::SoundResult: 0 played, 1 not found, 3 bad.
  function soundProblem(name) {
    if (!(name in soundData)) return 1;
    if (soundData[name] === null) return 1;
    if (soundBuffers[name] === null) return 3;
    return 0;
  }

  function startSound(name, onEnded) {
    const problem = soundProblem(name);
    if (problem !== 0) return problem;
    if (playing) {
      try {
        playing.stop();
      } catch (e) {
        /* already ended */
      }
      playing = null;
    }
    // Before the first key or click the browser keeps the page silent.
    if (!audio || audio.state !== 'running' || !soundBuffers[name]) {
      onEnded();
      return 0;
    }
    const source = audio.createBufferSource();
    source.buffer = soundBuffers[name];
    source.connect(audio.destination);
    source.onended = () => {
      if (playing === source) playing = null;
      onEnded();
    };
    playing = source;
    source.start();
    return 0;
  }

  function measureContext() {
    if (!measureContext.ctx) {
      measureContext.ctx = $('ticker').getContext('2d');
    }
    return measureContext.ctx;
  }
  const TICKER_FONT = 'bold 16px Arial, "Liberation Sans", sans-serif';

  let tickerTimer = null;
  let mainTimer = null;
  let armedGeneration = -1;

  // A sound played with `wait` holds the sounds after it until it has ended.
  let soundsHeld = false;
  const soundsWaiting = [];

  function playSound(name, wait) {
    if (soundsHeld) {
      soundsWaiting.push([name, wait]);
      return soundProblem(name);
    }
    let ended = false;
    const result = startSound(name, () => {
      ended = true;
      if (wait) releaseSounds();
    });
    if (wait && result === 0 && !ended) soundsHeld = true;
    return result;
  }

  function releaseSounds() {
    soundsHeld = false;
    while (!soundsHeld && soundsWaiting.length > 0) playSound(...soundsWaiting.shift());
  }

  Module.page = {
    // The dialog's answer goes back to the game as a call of its own.
    dialog: (json) => showDialog(JSON.parse(json)),
    answer: (answer) => call('web_dialog_answer', ['string'], [answer]),
    playSound,
    // What the window logic announces is said once by the page's live region; the same
    // words again are said again (a no-break space tells the region they are new).
    announce: (text) => {
      const region = $('announcement');
      region.textContent = region.textContent === text ? text + '\u00a0' : text;
    },
    soundWorks: () => typeof AudioContext !== 'undefined',
    // With noopener the browser does not say whether the tab opened.
    openUrl: (url) => {
      window.open(url, '_blank', 'noopener');
      return true;
    },
    textWidth: (text) => {
      const ctx = measureContext();
      ctx.font = TICKER_FONT;
      return Math.round(ctx.measureText(text).width);
    },
    tickerTimer: (enabled, interval) => {
      if (tickerTimer) clearInterval(tickerTimer);
      tickerTimer = null;
      if (enabled && !manual) tickerTimer = setInterval(tickerStep, interval);
    },
    mainTimerChanged: () => {
      /* re-armed from the view once the call returns */
    },
    now: () => (manual ? 0 : performance.now()),
  };

  function applyMainTimer() {
    if (manual || !view || view.screen !== 'main') {
      if (mainTimer) clearTimeout(mainTimer);
      mainTimer = null;
      return;
    }
    const timer = view.window.timer;
    if (!timer.enabled) {
      if (mainTimer) clearTimeout(mainTimer);
      mainTimer = null;
      return;
    }
    if (mainTimer && armedGeneration === timer.generation) return;
    if (mainTimer) clearTimeout(mainTimer);
    armedGeneration = timer.generation;
    mainTimer = setTimeout(
      () => {
        mainTimer = null;
        call('web_timer_fired', [], []);
      },
      Math.max(0, timer.due),
    );
  }

  function tickerStep() {
    Module._web_ticker_step();
    if (Module._web_ticker_revision() !== tickerRevision) {
      const ticker = JSON.parse(Module.UTF8ToString(Module._web_ticker())).ticker;
      drawTicker(ticker);
    }
  }

  // ---- Storage: the files the game keeps, in the browser's storage ----

  function toBase64(bytes) {
    let text = '';
    for (let i = 0; i < bytes.length; i += 0x8000)
      text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    return btoa(text);
  }
  function fromBase64(text) {
    const raw = atob(text);
    const bytes = new Uint8Array(raw.length);
    for (let i = 0; i < raw.length; i++) bytes[i] = raw.charCodeAt(i);
    return bytes;
  }
  function readFile(path) {
    try {
      return Module.FS.readFile(path);
    } catch (e) {
      return null;
    }
  }
  // This Emscripten's rename leaves the file it replaces findable by its name: a file saved
  // twice (a new copy renamed over the old) and then removed would come back as the older copy.
  // The replaced file is forgotten as the rename happens.
  function mendRename() {
    const fs = Module.FS;
    const rename = fs.rename;
    const nodeAt = (path) => {
      try {
        return fs.lookupPath(path).node;
      } catch (e) {
        return null;
      }
    };
    fs.rename = function (from, to) {
      const replaced = nodeAt(to);
      const result = rename.apply(this, arguments);
      if (replaced && nodeAt(to) !== replaced) fs.hashRemoveNode(replaced);
      return result;
    };
  }
  // The records of games (docs/RECORDS.md): the one in progress beside the saved game, and
  // one per hi-score entry beside the table, each kept under its file name.
  const RECORDS_DIR = '/realtopia/data/';
  const RECORDS_STORE = STORE + 'records/';
  const isRecordName = (name) => /^REALTOPI\.(REC|DAT\.[0-9a-f]{16}\.REC)$/.test(name);
  function storedRecordNames() {
    const names = [];
    for (let i = 0; i < localStorage.length; i++) {
      const key = localStorage.key(i);
      if (key !== null && key.startsWith(RECORDS_STORE)) names.push(key.slice(RECORDS_STORE.length));
    }
    return names.filter(isRecordName);
  }
  function saveRecords() {
    let names = [];
    try {
      names = Module.FS.readdir(RECORDS_DIR).filter(isRecordName);
    } catch (e) {
      names = [];
    }
    for (const name of names) {
      const bytes = readFile(RECORDS_DIR + name);
      if (bytes === null) continue;
      const text = toBase64(bytes);
      if (localStorage.getItem(RECORDS_STORE + name) !== text) localStorage.setItem(RECORDS_STORE + name, text);
    }
    for (const name of storedRecordNames()) if (!names.includes(name)) localStorage.removeItem(RECORDS_STORE + name);
  }
  function loadFiles() {
    Module.FS.mkdirTree('/realtopia/data');
    for (const key of Object.keys(FILES)) {
      const stored = localStorage.getItem(STORE + key);
      if (stored !== null) Module.FS.writeFile(FILES[key], fromBase64(stored));
    }
    for (const name of storedRecordNames())
      Module.FS.writeFile(RECORDS_DIR + name, fromBase64(localStorage.getItem(RECORDS_STORE + name)));
  }
  function saveFiles() {
    saveRecords();
    for (const key of Object.keys(FILES)) {
      const bytes = readFile(FILES[key]);
      const stored = localStorage.getItem(STORE + key);
      if (bytes === null) {
        if (stored !== null) localStorage.removeItem(STORE + key);
      } else {
        const text = toBase64(bytes);
        if (text !== stored) localStorage.setItem(STORE + key, text);
      }
    }
  }
  // Nothing is lost when the tab is closed or discarded without a word: between moves the
  // program writes the game in progress (when it changed) and the hi-score table to its files,
  // and the page copies them into the browser's storage, at most a few times a second, and at
  // once when the page is hidden or goes away.
  const KEEP_DELAY_MS = 250;
  let keepTimer = null;
  function keepSoon() {
    if (keepTimer === null) keepTimer = setTimeout(keepNow, KEEP_DELAY_MS);
  }
  function keepNow() {
    if (keepTimer !== null) clearTimeout(keepTimer);
    keepTimer = null;
    // A call waiting for a box is a move not over yet: it is kept once it is.
    if (pending === 0) Module._web_keep_game();
    saveFiles();
  }
  function download(path, name) {
    const bytes = readFile(path);
    if (bytes === null) return;
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
    link.download = name;
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 1000);
  }
  function upload(input, path) {
    const file = input.files[0];
    if (!file) return;
    file.arrayBuffer().then((data) => {
      Module.FS.writeFile(path, new Uint8Array(data));
      saveFiles();
      input.value = '';
    });
  }

  // ---- Drawing ----

  function setText(id, text) {
    const element = $(id);
    if (element.textContent !== text) element.textContent = text;
  }

  // A caption with its accelerator letter underlined.
  function setCaption(element, caption) {
    const key = caption.text + '\u0000' + caption.accelerator;
    if (element.dataset.caption === key) return;
    element.dataset.caption = key;
    element.textContent = '';
    const at = caption.accelerator ? caption.text.toLowerCase().indexOf(caption.accelerator) : -1;
    if (at < 0) {
      element.textContent = caption.text;
      return;
    }
    element.append(caption.text.slice(0, at));
    const u = document.createElement('u');
    u.className = 'accel';
    u.textContent = caption.text[at];
    element.append(u, caption.text.slice(at + 1));
  }

  function hex(color) {
    return '#' + color.toString(16).padStart(6, '0');
  }

  function drawTicker(ticker) {
    tickerRevision = ticker.revision;
    const canvas = $('ticker');
    const ctx = canvas.getContext('2d');
    ctx.fillStyle = '#000';
    ctx.fillRect(0, 0, canvas.width, canvas.height);
    // The lowered bevel around the strip.
    ctx.fillStyle = '#808080';
    ctx.fillRect(0, 0, canvas.width, 1);
    ctx.fillRect(0, 0, 1, canvas.height);
    ctx.fillStyle = '#ffffff';
    ctx.fillRect(0, canvas.height - 1, canvas.width, 1);
    ctx.fillRect(canvas.width - 1, 0, 1, canvas.height);
    ctx.save();
    ctx.beginPath();
    ctx.rect(ticker.left, ticker.top, ticker.width, ticker.height);
    ctx.clip();
    ctx.fillStyle = hex(ticker.color);
    ctx.fillRect(ticker.left, ticker.top, ticker.width, ticker.height);
    ctx.font = TICKER_FONT;
    ctx.textBaseline = 'top';
    for (const text of ticker.strip) {
      ctx.fillStyle = hex(text.color);
      ctx.fillText(text.text, ticker.left + text.x, ticker.top + 2);
    }
    ctx.restore();
    ctx.font = TICKER_FONT;
    ctx.textBaseline = 'top';
    for (const text of ticker.overlay) {
      ctx.fillStyle = hex(text.color);
      ctx.fillText(text.text, text.x, 2);
    }
    canvas.title = '';
    announce(ticker.spoken);
  }

  // Each new headline is said once, politely, by the live region beside the ticker.
  let announced = null;
  function announce(text) {
    if (text === announced) return;
    announced = text;
    setText('ticker_text', text);
  }

  function drawClock(percent) {
    const canvas = $('clock');
    const ctx = canvas.getContext('2d');
    ctx.fillStyle = '#000';
    ctx.fillRect(0, 0, 80, 80);
    ctx.strokeStyle = 'red';
    ctx.beginPath();
    ctx.arc(40, 40, 39.5, 0, 2 * Math.PI);
    ctx.stroke();
    if (percent > 0) {
      ctx.fillStyle = 'red';
      ctx.beginPath();
      ctx.moveTo(40, 40);
      ctx.arc(40, 40, 39.5, -Math.PI / 2, -Math.PI / 2 + (2 * Math.PI * percent) / 100);
      ctx.closePath();
      ctx.fill();
    }
  }

  function drawProgress(percent, text) {
    const canvas = $('progress');
    const ctx = canvas.getContext('2d');
    ctx.globalCompositeOperation = 'source-over';
    ctx.fillStyle = '#000';
    ctx.fillRect(0, 0, 140, 16);
    ctx.fillStyle = 'red';
    ctx.fillRect(0, 0, Math.floor((140 * percent) / 100), 16);
    ctx.globalCompositeOperation = 'difference';
    ctx.fillStyle = '#fff';
    ctx.font = '11px Arial, "Liberation Sans", sans-serif';
    ctx.textAlign = 'center';
    ctx.textBaseline = 'middle';
    ctx.fillText(text, 70, 8);
    ctx.globalCompositeOperation = 'source-over';
    canvas.setAttribute('aria-valuenow', String(percent));
    canvas.setAttribute('aria-valuetext', text);
  }

  // A list box of rows, each its property's name (shortened with "…" when the row is too
  // narrow) and its price; the whole row in its title.
  function fillList(box, list) {
    setListEnabled(box, list.enabled);
    while (box.children.length > list.rows.length) box.lastChild.remove();
    list.rows.forEach((row, i) => {
      let element = box.children[i];
      if (!element) {
        element = document.createElement('div');
        element.className = 'row';
        element.setAttribute('role', 'option');
        element.id = box.id + '_' + i;
        const name = document.createElement('span');
        name.className = 'name';
        const price = document.createElement('span');
        price.className = 'price';
        element.append(name, price);
        box.append(element);
      }
      if (element.title !== row.text) {
        element.title = row.text;
        element.firstChild.textContent = row.name;
        element.lastChild.textContent = row.price;
      }
    });
    showSelected(
      box,
      list.rows.map((row, i) => (row.selected ? i : -1)).filter((i) => i >= 0),
    );
  }
  function setListEnabled(box, enabled) {
    box.classList.toggle('disabled', !enabled);
    box.setAttribute('aria-disabled', String(!enabled));
  }
  function showSelected(box, rows) {
    const set = new Set(rows);
    Array.from(box.children).forEach((element, i) => {
      const on = set.has(i);
      if (element.classList.contains('selected') !== on) element.classList.toggle('selected', on);
      element.setAttribute('aria-selected', String(on));
    });
  }
  function shownRows(box) {
    const rows = [];
    Array.from(box.children).forEach((element, i) => {
      if (element.classList.contains('selected')) rows.push(i);
    });
    return rows.join(',');
  }

  // The menu bar behaves as a desktop window's: a click or Alt+letter opens a menu, the arrow
  // keys move through it and its submenus and along the bar, Enter (or an item's letter)
  // chooses, Esc closes one level, and the focus goes back where it was. While a menu is open
  // its keys are the menu's alone.
  let openMenu = null;
  let menuReturn = null; // the element focused before the menu opened
  function buildMenus(menus) {
    const bar = $('menubar');
    const key = JSON.stringify(menus);
    if (bar.dataset.menus === key) return;
    bar.dataset.menus = key;
    const wasOpen = openMenu;
    const focusedPath = itemPath(document.activeElement);
    bar.textContent = '';
    menus.forEach((menu, index) => {
      const title = document.createElement('span');
      title.className = 'menutitle';
      title.tabIndex = -1;
      title.setAttribute('role', 'menuitem');
      title.setAttribute('aria-haspopup', 'menu');
      title.setAttribute('aria-expanded', 'false');
      setCaption(title, menu.caption);
      title.dataset.menu = index;
      title.addEventListener('mousedown', (event) => {
        event.preventDefault();
        if (dialogOpen) return;
        toggleMenu(openMenu === index ? null : index);
      });
      title.addEventListener('mouseenter', () => {
        if (openMenu !== null) toggleMenu(index);
      });
      bar.append(title);
    });
    bar.menus = menus;
    // Redrawn while open (an item enabled meanwhile): the same menu, at the same item.
    if (wasOpen !== null) {
      toggleMenu(wasOpen);
      if (focusedPath) focusItem(itemAt(focusedPath));
    }
  }
  function menuElement(items) {
    const box = document.createElement('div');
    box.className = 'menu';
    box.setAttribute('role', 'menu');
    for (const item of items) {
      const row = document.createElement('div');
      row.className = 'menuitem';
      row.tabIndex = -1;
      row.dataset.accelerator = item.caption.accelerator || '';
      row.setAttribute('role', item.checkable ? 'menuitemcheckbox' : 'menuitem');
      if (item.items) row.setAttribute('aria-haspopup', 'menu');
      setCaption(row, item.caption);
      if (item.key) {
        const key = document.createElement('span');
        key.className = 'menukey';
        key.textContent = item.key;
        row.append(key);
        row.setAttribute('aria-keyshortcuts', item.key);
      }
      if (item.items) {
        row.classList.add('submenu');
        row.setAttribute('aria-expanded', 'false');
        row.append(menuElement(item.items));
        showSubmenu(row, false);
        row.addEventListener('mouseenter', () => showSubmenu(row, true));
        row.addEventListener('mouseleave', () => showSubmenu(row, false));
      } else {
        row.dataset.command = item.control;
        if (!item.enabled) row.classList.add('disabled');
        row.setAttribute('aria-disabled', String(!item.enabled));
        if (item.checked) row.classList.add('checked');
        if (row.getAttribute('role') === 'menuitemcheckbox') row.setAttribute('aria-checked', String(!!item.checked));
        row.addEventListener('mouseup', (event) => {
          event.stopPropagation();
          chooseItem(row);
        });
      }
      box.append(row);
    }
    return box;
  }
  function showSubmenu(row, shown) {
    row.lastChild.style.display = shown ? 'block' : 'none';
    row.setAttribute('aria-expanded', String(shown));
  }
  function toggleMenu(index) {
    const bar = $('menubar');
    if (openMenu === null && index !== null && !dialogOpen) {
      menuReturn = bar.contains(document.activeElement) ? null : document.activeElement;
    }
    for (const old of bar.querySelectorAll(':scope > .menu')) old.remove();
    for (const title of bar.querySelectorAll('.menutitle')) {
      title.classList.remove('open');
      title.setAttribute('aria-expanded', 'false');
    }
    openMenu = index;
    if (index === null || !bar.menus || dialogOpen) {
      openMenu = null;
      const back = menuReturn;
      menuReturn = null;
      if (bar.contains(document.activeElement) || document.activeElement === document.body) {
        if (back && back.isConnected) back.focus();
        else document.activeElement.blur();
      }
      return;
    }
    const title = bar.querySelector(`[data-menu="${index}"]`);
    title.classList.add('open');
    title.setAttribute('aria-expanded', 'true');
    const box = menuElement(bar.menus[index].items);
    box.style.left = title.offsetLeft + 'px';
    bar.append(box);
    title.focus();
  }
  // Opened by a key: the menu with its first item chosen.
  function openMenuByKey(index) {
    lastKeyWasTab = false;
    toggleMenu(index);
    if (openMenu !== null) focusItem($('menubar').querySelector(':scope > .menu > .menuitem'));
  }
  function chooseItem(row) {
    if (row.classList.contains('submenu')) {
      showSubmenu(row, true);
      focusItem(row.lastChild.firstChild);
      return;
    }
    if (row.classList.contains('disabled')) return;
    toggleMenu(null);
    invoke(row.dataset.command);
  }
  function focusItem(row) {
    if (row) row.focus();
  }
  // Where an item is: the menu's index, then the item's at each level ("1/2/0").
  function itemPath(element) {
    const bar = $('menubar');
    if (!element || openMenu === null || !bar.contains(element) || !element.classList.contains('menuitem')) return null;
    const path = [];
    for (let row = element; row.classList.contains('menuitem'); row = row.parentNode.parentNode) {
      path.unshift(Array.prototype.indexOf.call(row.parentNode.children, row));
      if (row.parentNode.parentNode === bar) break;
    }
    return path;
  }
  function itemAt(path) {
    let box = $('menubar').querySelector(':scope > .menu');
    let row = null;
    for (let depth = 0; depth < path.length; depth++) {
      if (!box) return null;
      row = box.children[path[depth]];
      if (!row) return null;
      if (depth < path.length - 1) {
        showSubmenu(row, true);
        box = row.lastChild;
      }
    }
    return row;
  }
  const menuKeysDown = new Set(); // keys whose press a menu took: their release is its too
  function onMenuKey(event) {
    if (event.type === 'keyup') {
      if (!menuKeysDown.delete(event.key)) return;
      event.preventDefault();
      event.stopImmediatePropagation();
      return;
    }
    if (openMenu === null || dialogOpen) return;
    event.preventDefault();
    event.stopImmediatePropagation();
    menuKeysDown.add(event.key);
    const bar = $('menubar');
    const focused = document.activeElement;
    const current = bar.contains(focused) && focused.classList.contains('menuitem') ? focused : null;
    const box = current ? current.parentNode : bar.querySelector(':scope > .menu');
    const rows = Array.from(box.children);
    const at = rows.indexOf(current);
    const inSubmenu = box.parentNode !== bar;
    const along = (step) => openMenuByKey((openMenu + step + bar.menus.length) % bar.menus.length);
    switch (event.key) {
      case 'ArrowDown':
        return focusItem(rows[(at + 1) % rows.length]);
      case 'ArrowUp':
        return focusItem(rows[at <= 0 ? rows.length - 1 : at - 1]);
      case 'Home':
        return focusItem(rows[0]);
      case 'End':
        return focusItem(rows[rows.length - 1]);
      case 'ArrowRight':
        return current && current.classList.contains('submenu') ? chooseItem(current) : along(1);
      case 'ArrowLeft':
        if (!inSubmenu) return along(-1);
        showSubmenu(box.parentNode, false);
        return focusItem(box.parentNode);
      case 'Escape':
        if (!inSubmenu) return toggleMenu(null);
        showSubmenu(box.parentNode, false);
        return focusItem(box.parentNode);
      case 'Enter':
      case ' ':
        return current ? chooseItem(current) : undefined;
      case 'Tab':
        return toggleMenu(null);
    }
    // Alt+letter goes to another menu; a letter chooses the item it underlines.
    const menu = menuOf(event);
    if (menu >= 0) return menu === openMenu ? toggleMenu(null) : openMenuByKey(menu);
    if (event.key.length === 1 && !event.ctrlKey && !event.metaKey) {
      const row = rows.find((r) => r.dataset.accelerator === event.key.toLowerCase());
      if (row) chooseItem(row);
    }
  }
  document.addEventListener('mousedown', (event) => {
    if (openMenu !== null && !$('menubar').contains(event.target)) toggleMenu(null);
  });

  function render() {
    view = JSON.parse(Module.UTF8ToString(Module._web_view()));
    document.body.classList.toggle('splash', view.screen === 'splash');
    $('ended').style.display = view.screen === 'ended' ? 'flex' : 'none';
    // Once the program has ended its menus have nothing left to do: they go with it.
    $('menubar').style.visibility = view.screen === 'ended' ? 'hidden' : '';
    if (view.screen === 'ended' && openMenu !== null) toggleMenu(null);
    if (view.screen === 'splash') renderSplash(view.splash);
    if (view.screen === 'main') renderMain(view.window);
    if (view.screen === 'ended') {
      if (tickerTimer) clearInterval(tickerTimer);
      tickerTimer = null;
    }
  }

  function renderSplash(splash) {
    if (!$('splash').dataset.shown) {
      $('splash').dataset.shown = '1';
      $('splash_play').focus(); // Enter plays, as on the desktop
    }
    document.title = splash.title;
    setText('caption', splash.title);
    setText('splash_presents', splash.presents);
    $('splash_presents').title = splash.presentsHint;
    setText('splash_title', splash.title);
    setText('splash_shadow', splash.title);
    $('splash_title').title = splash.titleHint;
    setText('splash_careerly', splash.careerly);
    setText('splash_link', splash.link);
    $('splash_link').title = splash.linkHint;
    $('splash_sponsor').alt = splash.link;
    setText('splash_play', splash.play);
    setText('splash_newuser', splash.newUser);
    setText('splash_build', splash.build);
    setText('splash_created', splash.createdBy);
    setText('splash_maker', splash.maker);
    $('splash_maker').title = splash.linkHint;
  }

  function renderMain(w) {
    document.title = w.caption;
    setText('caption', w.caption);
    setText('st', w.status);
    setText('pnl_CurrentFund', w.cash);
    setText('pnl_Currportfolio', w.portfolioValue);
    setText('pnl_CurrDebt', w.debt);
    setText('lbl_info', w.info);
    setText('lbl_TAreas', w.areaCaption);
    setText('lbl_trend', w.trendText);
    const trend = 'trend/' + w.trend + '.svg';
    if (!$('img_trend').src.endsWith(trend)) $('img_trend').src = trend;
    setText('lbl_Stage', w.stage);
    setText('lbl_time', w.month);
    drawClock(w.clockPercent);
    drawProgress(w.progressPercent, w.progressText);

    setCaption($('lbl_TAvail'), w.labels.availTitle);
    setCaption($('lbl_TPortfolio'), w.labels.portfolioTitle);
    setCaption($('lbl_TInfo'), w.labels.infoTitle);
    setCaption($('lbl_progress'), w.labels.progress);
    setCaption($('lbl_tStatus'), w.labels.statusTitle);

    const areas = document.querySelectorAll('#pnl_Areas .area');
    const rects = document.querySelectorAll('#pnl_Areas .rect');
    w.areas.forEach((area, i) => {
      areas[i].dataset.control = area.control;
      areas[i].title = area.hint;
      areas[i].setAttribute('aria-label', area.hint);
      areas[i].setAttribute('aria-pressed', String(area.red));
      rects[i].classList.toggle('red', area.red);
    });
    const several = $('select_several');
    setText('select_several', w.selectSeveral.text);
    several.title = w.selectSeveral.hint;
    several.setAttribute('aria-pressed', String(w.selectSeveral.on));
    $('img_Sponsor').title = w.hints.sponsor;
    $('img_Sponsor').alt = w.hints.sponsor;
    $('img_trend').alt = w.hints.trend;
    $('lbl_TAreas').title = w.hints.areas;
    for (const pair of [
      ['pnl_CurrentFund', 'currentFund'],
      ['pnl_Currportfolio', 'portfolio'],
      ['pnl_CurrDebt', 'debt'],
      ['lbl_TAvail', 'availTitle'],
      ['lbl_TPortfolio', 'portfolioTitle'],
      ['lst_Avail', 'lists'],
      ['lst_portfolio', 'lists'],
      ['lbl_trend', 'trend'],
      ['img_trend', 'trend'],
      ['clock', 'clock'],
      ['lbl_time', 'month'],
      ['lbl_progress', 'progress'],
      ['progress', 'progress'],
      ['lbl_tStatus', 'status'],
      ['lbl_Stage', 'status'],
    ]) {
      $(pair[0]).title = w.hints[pair[1]];
      $(pair[0]).dataset.hintText = w.hints[pair[1]];
    }
    $('ticker').dataset.hintText = w.ticker.hint;
    $('st').dataset.hintText = w.hints.statusBar;

    for (const button of document.querySelectorAll('button.cmd[data-control]')) {
      const state = w.buttons[button.dataset.control.slice('button:'.length)];
      setCaption(button.id === 'cmd_Start' ? button.firstChild : button, state);
      button.disabled = !state.enabled;
      button.title = state.hint;
    }
    buildMenus(w.menus);

    // Between a press and its release the list shows the rows the press chose.
    if (!listHeld) {
      fillList($('lst_Avail'), w.avail);
      fillList($('lst_portfolio'), w.portfolio);
    }
    if (w.listsRevision !== listsRevision) {
      // Refilled lists start again without a current row.
      for (const box of document.querySelectorAll('.list')) showCurrent(box, -1);
    }
    listsRevision = w.listsRevision;
    if (w.ticker.revision !== tickerRevision) drawTicker(w.ticker);
    if (w.focusStart && !$('main').dataset.shown) {
      $('main').dataset.shown = '1';
      $('cmd_Start').focus();
      // A friend's link (?challenge=CODE) deals that market once the game window is shown.
      if (params.get('challenge')) call('web_play_challenge', ['string'], [params.get('challenge')]);
    }
  }

  // ---- Dialogs ----

  // While a box is open nothing behind it takes a click, a key or the focus.
  function setBehindInert(inert) {
    for (const element of [$('frame'), $('splash'), $('chrome')]) element.inert = inert;
  }

  // The report's charts, as wide as the box allows, drawn again when the page is resized.
  function addCharts(content, charts) {
    if (!charts || !charts.length) return;
    const holder = document.createElement('div');
    holder.className = 'dcharts';
    content.prepend(holder);
    const canvases = charts.map((chart, i) => {
      const canvas = document.createElement('canvas');
      canvas.tabIndex = 0;
      canvas.setAttribute('role', 'img');
      canvas.setAttribute('aria-label', chart.title + '. ' + chart.description);
      canvas.title = chart.description;
      canvas.className = 'chart chart' + i;
      holder.append(canvas);
      return canvas;
    });
    const paint = () => {
      if (!holder.isConnected) {
        window.removeEventListener('resize', paint);
        return;
      }
      const width = Math.max(280, Math.min(740, holder.clientWidth || 740));
      charts.forEach((chart, i) =>
        RealtopiaChart.draw(canvases[i], chart, width, chart.seriesLegend ? (width < 500 ? 300 : 280) : 190),
      );
    };
    window.addEventListener('resize', paint);
    requestAnimationFrame(paint);
    paint();
  }

  // A box's text; lines in columns (separated by tabs, as a table of scores is) are set in a
  // table, so each column lines up, amounts to the right.
  function textElement(text) {
    const lines = text.split('\n');
    const columns = lines.filter((line) => line.includes('\t'));
    if (columns.length < 2) {
      const element = document.createElement('div');
      element.className = 'dtext';
      element.textContent = text;
      return element;
    }
    const holder = document.createElement('div');
    let table = null;
    for (const line of lines) {
      if (!line.includes('\t')) {
        table = null;
        if (line) {
          const element = document.createElement('div');
          element.className = 'dtext';
          element.textContent = line;
          holder.append(element);
        }
        continue;
      }
      if (!table) {
        table = document.createElement('table');
        table.className = 'dcolumns';
        holder.append(table);
      }
      const row = table.insertRow();
      for (const cell of line.split(/\t+/)) {
        const td = row.insertCell();
        td.textContent = cell.trim();
        if (/^[£$€]?[\d,.]+$/.test(cell.trim())) td.className = 'number';
      }
    }
    return holder;
  }

  // A line to copy with its Copy button, which leaves the box open; the clipboard's own
  // call, or where the browser refuses it, the line selected for the player's own copy. With a
  // link to the page's own address followed by what the game gives.
  function copyLine(copy) {
    const holder = document.createElement('div');
    holder.className = 'dcopyline';
    const line = document.createElement('input');
    line.type = 'text';
    line.readOnly = true;
    line.className = 'dcopy';
    line.value = copy.text;
    const button = document.createElement('button');
    button.className = 'dcopybutton';
    button.textContent = copy.caption;
    const selectLine = () => {
      line.focus();
      line.select();
    };
    button.addEventListener('click', () => {
      selectLine();
      const clipboard = navigator.clipboard;
      if (clipboard && clipboard.writeText) {
        clipboard.writeText(line.value).catch(() => {
          selectLine();
          document.execCommand('copy');
        });
      } else {
        document.execCommand('copy');
      }
    });
    holder.append(line, button);
    if (copy.link) {
      const link = document.createElement('a');
      link.className = 'dlink';
      link.href = location.origin + location.pathname + copy.link;
      link.textContent = link.href;
      const row = document.createElement('div');
      row.append(link);
      holder.append(row);
    }
    return holder;
  }

  function showDialog(d) {
    dialogOpen = true;
    currentDialog = d;
    toggleMenu(null);
    render(); // the window as it stands behind the dialog
    const returnFocus = document.activeElement;
    setBehindInert(true);
    return new Promise((resolve) => {
      const overlay = $('overlay');
      overlay.textContent = '';
      const box = document.createElement('div');
      box.className = 'dialog ' + d.kind;
      box.setAttribute('role', d.icon === 'error' || d.icon === 'question' ? 'alertdialog' : 'dialog');
      box.setAttribute('aria-modal', 'true');
      box.setAttribute('aria-labelledby', 'dialog_caption');
      const caption = document.createElement('div');
      caption.id = 'dialog_caption';
      caption.className = 'dcaption';
      caption.textContent = d.caption;
      box.append(caption);
      const body = document.createElement('div');
      body.className = 'dbody';
      if (d.icon) {
        const icon = document.createElement('div');
        icon.className = 'dicon ' + d.icon;
        icon.textContent = { information: 'i', question: '?', error: '\u00d7' }[d.icon];
        body.append(icon);
      }
      const content = document.createElement('div');
      body.append(content);
      box.append(body);
      if (d.heading) {
        const heading = document.createElement('div');
        heading.className = 'dheading';
        heading.textContent = d.heading;
        content.append(heading);
      }
      if (d.text) content.append(textElement(d.text));
      let input = null;
      if (d.input) {
        input = document.createElement('input');
        input.type = 'text';
        input.value = d.input.text;
        input.maxLength = d.input.maxLength;
        content.append(input);
      }
      if (d.copy) content.append(copyLine(d.copy));
      const finish = (answer) => {
        overlay.style.display = 'none';
        overlay.textContent = '';
        dialogOpen = false;
        currentDialog = null;
        setBehindInert(false);
        document.removeEventListener('keydown', onKey, true);
        // The focus goes back where it was, as when a window becomes active again.
        if (returnFocus && returnFocus !== document.body && returnFocus.isConnected) {
          focusReturning = true;
          returnFocus.focus({ preventScroll: true });
          focusReturning = false;
        }
        resolve(answer);
      };
      if (d.choicesTitle) {
        const title = document.createElement('div');
        title.className = 'dheading';
        title.textContent = d.choicesTitle;
        content.append(title);
      }
      for (const choice of d.choices) {
        const row = document.createElement('label');
        row.className = 'drow';
        if (choice.button) {
          const button = document.createElement('button');
          button.textContent = choice.button;
          button.addEventListener('click', () => finish(choice.answer));
          const label = document.createElement('span');
          label.textContent = choice.label;
          row.append(button, label);
        } else {
          const radio = document.createElement('input');
          radio.type = 'radio';
          radio.name = 'choice';
          radio.checked = choice.checked;
          radio.disabled = !choice.enabled;
          radio.addEventListener('change', () => finish(choice.answer));
          const label = document.createElement('span');
          label.textContent = choice.label;
          row.append(radio, label);
        }
        content.append(row);
      }
      if (d.rows.length) {
        if (d.rowsTitle) {
          const title = document.createElement('div');
          title.className = 'dheading';
          title.textContent = d.rowsTitle;
          content.append(title);
        }
        const table = document.createElement('table');
        for (const row of d.rows) {
          const tr = table.insertRow();
          for (const cell of [row.month, row.text, row.note]) tr.insertCell().textContent = cell;
        }
        content.prepend(table);
        if (d.rowsTitle) content.prepend(content.querySelector('.dheading:last-of-type'));
      }
      addCharts(content, d.charts);
      const buttons = document.createElement('div');
      buttons.className = 'dbuttons';
      let defaultButton = null;
      for (const choice of d.buttons) {
        const button = document.createElement('button');
        setCaption(button, { text: choice.label, accelerator: choice.accelerator });
        button.disabled = !choice.enabled;
        button.dataset.answer = choice.answer;
        button.addEventListener('click', () => {
          finish(input && choice.answer === 'ok' ? 'ok\n' + input.value : choice.answer);
        });
        if (choice.default) defaultButton = button;
        buttons.append(button);
      }
      box.append(buttons);
      const onKey = (event) => {
        if (event.key === 'Tab') {
          // The focus goes round the box's own controls.
          const stops = Array.from(box.querySelectorAll('button, input, canvas[tabindex], [tabindex="0"]')).filter(
            (e) => !e.disabled && e.offsetParent !== null,
          );
          if (!stops.length) {
            event.preventDefault();
            return;
          }
          const at = stops.indexOf(document.activeElement);
          const next = event.shiftKey
            ? at <= 0
              ? stops.length - 1
              : at - 1
            : at < 0 || at === stops.length - 1
              ? 0
              : at + 1;
          event.preventDefault();
          stops[next].focus();
        } else if (event.key === 'Escape') {
          event.preventDefault();
          event.stopPropagation();
          if (d.escape) finish(d.escape);
        } else if (event.key === 'Enter') {
          event.preventDefault();
          event.stopPropagation();
          const focused = document.activeElement;
          const target = focused && focused.tagName === 'BUTTON' && box.contains(focused) ? focused : defaultButton;
          if (target && !target.disabled) target.click();
        } else if (event.altKey && event.key.length === 1) {
          const letter = event.key.toLowerCase();
          const choice = d.buttons.find((b) => b.accelerator === letter);
          if (choice) {
            event.preventDefault();
            const button = buttons.querySelector(`[data-answer="${choice.answer}"]`);
            if (button && !button.disabled) button.click();
          }
        } else if (/^F\d+$/.test(event.key)) {
          event.preventDefault();
        }
      };
      document.addEventListener('keydown', onKey, true);
      overlay.append(box);
      overlay.style.display = 'flex';
      // A chooser opens at its chosen item, or its first that can be chosen.
      const firstChoice =
        content.querySelector('input[type=radio]:checked:enabled') ||
        content.querySelector('input[type=radio]:enabled');
      const copied = content.querySelector('input.dcopy');
      if (input) {
        input.focus();
        input.select();
      } else if (copied) {
        copied.focus();
        copied.select();
      } else if (firstChoice) firstChoice.focus();
      else if (defaultButton) defaultButton.focus();
    });
  }

  // ---- Events ----

  function invoke(control) {
    const colon = control.indexOf(':');
    return call('web_invoke', ['string', 'string'], [control.slice(0, colon), control.slice(colon + 1)]);
  }

  function modifiers(event) {
    return (event.shiftKey ? 1 : 0) | (event.ctrlKey ? 2 : 0) | (event.altKey ? 4 : 0) | (event.metaKey ? 8 : 0);
  }

  // What a key means comes with the view (its input table and accelerators); the page
  // only keeps the browser's own meaning of the window's keys away.
  function inputOf(event) {
    const w = view && view.window;
    return w ? w.inputs.find((input) => input.key === event.key) : undefined;
  }
  function acceleratorOf(event) {
    const w = view && view.window;
    if (!w || event.key.length !== 1 || event.metaKey) return undefined;
    return w.accelerators.find(
      (a) => a.key === event.key.toLowerCase() && a.alt === event.altKey && a.ctrl === event.ctrlKey,
    );
  }
  function menuOf(event) {
    const w = view && view.window;
    if (!w || !event.altKey || event.ctrlKey || event.key.length !== 1) return -1;
    return w.menus.findIndex((menu) => menu.caption.accelerator === event.key.toLowerCase());
  }

  function onKeyDown(event) {
    startAudio();
    if (!dialogOpen && view && view.screen === 'splash') return splashKey(event);
    if (dialogOpen || !view || view.screen !== 'main') return;
    const input = inputOf(event);
    const accelerator = acceleratorOf(event);
    const menu = menuOf(event);
    if ((input && input.window) || accelerator || menu >= 0) event.preventDefault();
    if (menu >= 0 && !accelerator) {
      openMenuByKey(menu);
      return;
    }
    if (accelerator && accelerator.focus) {
      focusByAccelerator = true;
      $(accelerator.focus === 'avail' ? 'lst_Avail' : 'lst_portfolio').focus();
      focusByAccelerator = false;
    }
    const focused =
      document.activeElement && document.activeElement.dataset ? document.activeElement.dataset.control || '' : '';
    lastKeyWasTab = event.key === 'Tab';
    call(
      'web_key_down',
      ['string', 'number', 'number', 'string'],
      [event.key, modifiers(event), event.repeat ? 1 : 0, focused],
    );
  }
  // On the splash, wherever the focus is, Enter is PLAY! and Esc is New User, as on the
  // desktop; a focused link answers Enter as links do.
  function splashKey(event) {
    const control = { Enter: 'play', Escape: 'newuser' }[event.key];
    if (!control || event.altKey || event.ctrlKey || event.metaKey) return;
    if (event.key === 'Enter' && document.activeElement && document.activeElement.tagName === 'A') return;
    event.preventDefault();
    call('web_splash', ['string'], [control]);
  }
  function onKeyUp(event) {
    if (dialogOpen || !view || view.screen !== 'main') return;
    const input = inputOf(event);
    if (input && input.window) event.preventDefault();
    call('web_key_up', ['string', 'number'], [event.key, modifiers(event)]);
  }

  let lastKeyWasTab = false;
  let focusByAccelerator = false;
  let pointerOnList = null;
  let listHeld = null; // the list between a press on a row and its release
  let focusReturning = false; // a box has closed and the focus goes back

  // The page's own list boxes: a press (click or tap) or a key that moves asks the game which
  // rows are then selected; the release tells the game, as a toolkit's list box does.
  function wireLists() {
    for (const box of document.querySelectorAll('.list')) {
      const list = box.dataset.list;
      const rowOf = (event) => {
        const row = event.target.closest('.row');
        return row && row.parentNode === box ? Array.prototype.indexOf.call(box.children, row) : -1;
      };
      const press = (row, mods, tap) => {
        listHeld = box;
        call('web_list_press', ['string', 'number', 'number', 'number'], [list, row, mods, tap ? 1 : 0], 'string').then(
          (rows) => {
            if (typeof rows === 'string') showSelected(box, rows ? rows.split(',').map(Number) : []);
          },
        );
      };
      const release = (event) => {
        call('web_list', ['string', 'string', 'string', 'string'], () => {
          listHeld = null;
          return [event, list, '', shownRows(box)];
        });
      };
      let touchRow = -1;
      box.addEventListener('pointerdown', (event) => {
        if (dialogOpen || box.classList.contains('disabled')) return;
        pointerOnList = box;
        const row = rowOf(event);
        if (event.pointerType === 'touch') {
          touchRow = row;
          return;
        }
        if (event.button !== 0) return;
        if (row >= 0) {
          press(row, modifiers(event), false);
          showCurrent(box, row);
        }
      });
      box.addEventListener('pointercancel', () => {
        touchRow = -1;
      });
      box.addEventListener('pointerup', (event) => {
        if (dialogOpen || box.classList.contains('disabled')) return;
        if (event.pointerType === 'touch') {
          // A tap; a finger that scrolled the list was cancelled.
          if (touchRow < 0 || touchRow !== rowOf(event)) return;
          press(touchRow, 0, true);
          showCurrent(box, touchRow);
          touchRow = -1;
        } else if (event.button !== 0) {
          return;
        }
        release('mouseup');
      });
      box.addEventListener('keydown', (event) => {
        if (dialogOpen || box.classList.contains('disabled')) return;
        if (!['ArrowUp', 'ArrowDown', 'Home', 'End', 'PageUp', 'PageDown', ' '].includes(event.key)) return;
        event.preventDefault(); // the list moves, not the page
        listHeld = box; // until the key is released
        call('web_list_move', ['string', 'string', 'number'], [list, event.key, modifiers(event)], 'string').then(
          (answer) => {
            if (typeof answer !== 'string' || answer === '-') return;
            const [current, rows] = answer.split(';');
            showSelected(box, rows ? rows.split(',').map(Number) : []);
            showCurrent(box, Number(current));
          },
        );
      });
      box.addEventListener('keyup', (event) => {
        const input = inputOf(event);
        if (input && !input.list) return; // the window's key, not the list's
        release('keyup');
      });
      box.addEventListener('focus', () => {
        const reason =
          pointerOnList === box
            ? 'click'
            : focusReturning
              ? 'activation'
              : lastKeyWasTab
                ? 'tab'
                : focusByAccelerator
                  ? 'accelerator'
                  : 'other';
        pointerOnList = null;
        call('web_list', ['string', 'string', 'string', 'string'], () => ['focus', list, reason, shownRows(box)]);
      });
    }
    $('select_several').addEventListener('click', () => {
      if (!dialogOpen) call('web_select_several', [], []);
    });
  }

  // The area pictures: an arrow key moves to the picture the game says it leads to and
  // chooses it.
  function wireAreas() {
    const areas = Array.from(document.querySelectorAll('#pnl_Areas .area'));
    areas.forEach((area, i) =>
      area.addEventListener('keydown', (event) => {
        if (!event.key.startsWith('Arrow') || event.altKey || event.ctrlKey || dialogOpen) return;
        event.preventDefault(); // the picture moves, not the page
        call('web_area_arrow', ['number', 'string'], [i + 1, event.key], 'number').then((next) => {
          if (!next) return;
          areas[next - 1].focus();
          areas[next - 1].click();
        });
      }),
    );
  }

  // The row the keys are at: in view, and named to a screen reader as the list's active row.
  function showCurrent(box, row) {
    const element = box.children[row];
    for (const old of box.querySelectorAll('.row.current')) old.classList.remove('current');
    if (!element) {
      box.removeAttribute('aria-activedescendant');
      return;
    }
    element.classList.add('current');
    box.setAttribute('aria-activedescendant', element.id);
    element.scrollIntoView({ block: 'nearest' });
  }

  function wire() {
    // Before the lists and the window: an open menu takes every key.
    document.addEventListener('keydown', onMenuKey, true);
    document.addEventListener('keyup', onMenuKey, true);
    document.addEventListener('keydown', onKeyDown);
    document.addEventListener('keyup', onKeyUp);
    document.addEventListener('pointerdown', startAudio, true);
    for (const pair of [
      ['splash_play', 'play'],
      ['splash_newuser', 'newuser'],
      ['splash_link', 'sponsor'],
      ['splash_maker', 'maker'],
      ['splash_sponsor', 'sponsor'],
    ]) {
      $(pair[0]).addEventListener('click', () => call('web_splash', ['string'], [pair[1]]));
      // The links answer Enter as links do.
      if ($(pair[0]).tagName === 'A') {
        $(pair[0]).addEventListener('keydown', (event) => {
          if (event.key === 'Enter') $(pair[0]).click();
        });
      }
    }
    $('client').addEventListener('click', (event) => {
      const target = event.target.closest('[data-control]');
      if (target && !target.disabled && !dialogOpen && view && view.screen === 'main') invoke(target.dataset.control);
    });
    let lastOver = null;
    $('client').addEventListener('mouseover', (event) => {
      // Only between calls: a call may be waiting for a dialog or a sound.
      if (!view || view.screen !== 'main' || dialogOpen || pending) return;
      const control = event.target.closest('[data-control]');
      const hinted = event.target.closest('[data-hint-text]');
      const key = control ? 'c' + control.dataset.control : hinted ? 'h' + hinted.dataset.hintText : '';
      if (key === lastOver) return;
      lastOver = key;
      if (control) Module.ccall('web_pointer_over', null, ['string'], [control.dataset.control]);
      else Module.ccall('web_pointer_hint', null, ['string'], [hinted ? hinted.dataset.hintText : '']);
      if (!pending) render();
    });
    wireLists();
    wireAreas();
    $('export').addEventListener('click', () => download(FILES.hiscores, 'REALTOPI.DAT'));
    $('import').addEventListener('click', () => $('importFile').click());
    $('importFile').addEventListener('change', () => upload($('importFile'), FILES.hiscores));
    $('customise').addEventListener('click', () => $('iniFile').click());
    $('iniFile').addEventListener('change', () => upload($('iniFile'), FILES.customisation));
    document.addEventListener('visibilitychange', () => {
      if (document.hidden) keepNow();
      if (view && view.screen === 'main') call('web_window_state', ['number'], [document.hidden ? 1 : 0]);
    });
    // A phone may freeze a page in the background and then discard it, with no pagehide.
    document.addEventListener('freeze', keepNow);
    window.addEventListener('pagehide', keepNow);
    window.addEventListener('resize', fit);
    fit();
  }

  // Narrower than the window's own layout, the page arranges the same parts one above the
  // other for a phone (the style sheet's narrow layout); otherwise the window scales as a
  // whole to fit the browser's.
  const narrowQuery = window.matchMedia('(max-width: 721.98px)');
  narrowQuery.addEventListener('change', fit);
  function fit() {
    // Tab goes as the eye does: on a phone the area pictures stand above the lists, in the
    // window to their right.
    const before = narrowQuery.matches ? $('lbl_TAvail') : $('cmd_DamRen');
    if ($('pnl_Areas').nextElementSibling !== before)
      for (const part of [$('lbl_TAreas'), $('pnl_Areas')]) before.before(part);
    const frame = $('frame');
    if (narrowQuery.matches) {
      frame.style.transform = '';
      frame.style.left = '';
      frame.style.top = '';
      return;
    }
    const width = frame.offsetWidth;
    const height = frame.offsetHeight;
    // Driven by hand, the window keeps its own size, so its parts are where a test computes.
    const below = $('chrome').offsetHeight + 8; // the key help and the file buttons
    const scale = manual ? 1 : Math.min(innerWidth / width, (innerHeight - below) / height);
    frame.style.transform = `scale(${scale})`;
    frame.style.left = Math.max(0, Math.floor((innerWidth - width * scale) / 2)) + 'px';
    frame.style.top = Math.max(0, Math.floor((innerHeight - below - height * scale) / 2)) + 'px';
  }

  function fetchSounds() {
    return Promise.all(
      SOUNDS.map((name) =>
        fetch('WAVEFILE/' + name + '.wav')
          .then(
            (response) => (response.ok ? response.arrayBuffer() : null),
            () => null,
          )
          .then((data) => {
            soundData[name] = data;
            decode(name);
          }),
      ),
    );
  }

  // What a test drives: the clock's events, the ticker's steps and the game's state.
  window.realtopia = {
    idle: () => queue.then(() => pending === 0),
    tick: (count = 1) => {
      let last = queue;
      for (let i = 0; i < count; i++) last = call('web_timer_fired', [], []);
      return last;
    },
    tickerStep: () => tickerStep(),
    // A button, picture, menu item or key as the page's controls name it ("menu:watch").
    invoke: (control) => invoke(control),
    state: () => JSON.parse(Module.UTF8ToString(Module._web_state())),
    view: () => view,
    // Whether a call is under way, the dialog it waits for, and the game clock's state.
    status: () => ({
      pending: pending,
      dialog: currentDialog,
      screen: view ? view.screen : '',
      clockRunning: !!(view && view.screen === 'main' && view.window.timer.enabled),
      kept: keepTimer === null,
    }),
    file: (key) => {
      const bytes = readFile(FILES[key]);
      return bytes ? toBase64(bytes) : null;
    },
  };

  Module.onRuntimeInitialized = () => {
    mendRename();
    loadFiles();
    Module.ccall('web_start', null, ['string'], [params.get('seed') || '']);
    wire();
    render();
    fetchSounds();
    document.documentElement.dataset.ready = '1';
  };
})();
