// Plays tests/web/moves.txt in the page, in headless Chromium driven over the DevTools
// protocol, and the same moves in realtopia-console with the same seed; the game's state at
// every `state` line and the hi-score file at the end must be the same. The moves are played
// twice: with a mouse and keys in a desktop window, and with taps on a phone (390 × 844).
// Between the two the page is reloaded (the table is kept, a game left is offered) and read
// through Chromium's accessibility tree.
//
//   node --experimental-websocket browser_game.mjs PAGE_DIR CONSOLE MOVES [SCREENSHOT_DIR]
//
// The page runs with ?manual: its clock stands still and every month is a `tick` of this
// script, as in the console, so nothing here depends on how fast the machine is.

import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

import { servePage, serveWeb, startBrowser } from './chromium.mjs';

const [pageArgument, consoleProgram, movesFile, screenshots] = process.argv.slice(2);
const pageDir = path.resolve(pageArgument);
const SEED = 17;
const moves = fs.readFileSync(movesFile, 'utf8').split('\n')
  .map((line) => line.trim()).filter((line) => line && !line.startsWith('#'));

const trace = process.env.REALTOPIA_TRACE ? (text) => console.error(text) : () => {};

function fail(message) {
  console.error('FAIL: ' + message);
  process.exitCode = 1;
}
function check(condition, message) {
  if (!condition) fail(message);
}

// ---- The page, served from its folder, in the browser ----

const { server, address } = await servePage(pageDir);
const { send, evaluate, close: closeBrowser, newTab, closeTab, onEvent } = await startBrowser(trace);

function pause(ms = 5) { return new Promise((resolve) => setTimeout(resolve, ms)); }

async function open(query, base = address) {
  await send('Page.navigate', { url: `${base}?${query}` });
  await pause(50);
  while (!(await evaluate("!!(document.documentElement && document.documentElement.dataset.ready === '1')"))) await pause();
}
async function reload() {
  await evaluate("document.documentElement.dataset.ready = ''");
  await send('Page.reload', {});
  await pause(50);
  while (!(await evaluate("!!(document.documentElement && document.documentElement.dataset.ready === '1')"))) await pause();
}

async function screen(width, height, mobile) {
  await send('Emulation.setDeviceMetricsOverride', { width, height, deviceScaleFactor: 1, mobile });
  await send('Emulation.setTouchEmulationEnabled', { enabled: mobile, maxTouchPoints: mobile ? 5 : 1 });
}

async function screenshot(name) {
  if (!screenshots) return;
  await evaluate('scrollTo(0, 0)');
  await pause(50);
  const shot = await send('Page.captureScreenshot', { format: 'png' });
  fs.writeFileSync(path.join(screenshots, name), Buffer.from(shot.data, 'base64'));
}

// ---- The player's hands: a mouse, or a finger ----

let touch = false;

async function centre(selector) {
  const box = await evaluate(`(() => { const e = document.querySelector(${JSON.stringify(selector)});
    if (!e) return null; e.scrollIntoView({block: 'nearest', inline: 'nearest'});
    const r = e.getBoundingClientRect();
    return {x: r.left + r.width / 2, y: r.top + r.height / 2}; })()`);
  if (!box) throw new Error('nothing to click: ' + selector);
  return box;
}
async function click(selector, modifiers = 0) {
  const box = await centre(selector);
  if (touch) {
    if (modifiers) throw new Error('a finger has no modifier keys');
    await send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [{ x: box.x, y: box.y }] });
    await send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
    await pause(20);  // the tap's click comes after the touch ends
    return;
  }
  // The pointer moves there with no button held, then presses and lets go.
  await send('Input.dispatchMouseEvent', { type: 'mouseMoved', x: box.x, y: box.y, button: 'none', modifiers });
  for (const type of ['mousePressed', 'mouseReleased'])
    await send('Input.dispatchMouseEvent', { type, x: box.x, y: box.y, button: 'left', clickCount: 1, modifiers });
}

const KEY_CODES = { esc: ['Escape', 27], f1: ['F1', 112], f2: ['F2', 113], f5: ['F5', 116],
  f6: ['F6', 117], f7: ['F7', 118], f9: ['F9', 120], f12: ['F12', 123], enter: ['Enter', 13],
  tab: ['Tab', 9], right: ['ArrowRight', 39], down: ['ArrowDown', 40], left: ['ArrowLeft', 37],
  up: ['ArrowUp', 38] };
// A key, or an accelerator written as the console writes it ("alt+u", "ctrl+4").
async function key(name, modifiers = 0) {
  const parts = name.toLowerCase().split('+');
  const last = parts.pop();
  modifiers |= (parts.includes('alt') ? 1 : 0) | (parts.includes('ctrl') ? 2 : 0);
  const [keyName, code, vk] = KEY_CODES[last]
    ? [KEY_CODES[last][0], KEY_CODES[last][0], KEY_CODES[last][1]]
    : [last, /\d/.test(last) ? 'Digit' + last : 'Key' + last.toUpperCase(),
       last.toUpperCase().charCodeAt(0)];
  for (const type of ['rawKeyDown', 'keyUp'])
    await send('Input.dispatchKeyEvent', { type, key: keyName, code, modifiers,
      windowsVirtualKeyCode: vk, nativeVirtualKeyCode: vk });
}
// On a phone the window's keys are its buttons.
const KEY_BUTTONS = { esc: 'start', f5: 'damren', f6: 'buysell', f7: 'mortgage' };

// Answers the dialogs that come up until the page is idle; boxes that only inform are
// closed (Enter, or a tap on their default button), the others take the next line of the moves.
let next = 0;
let chooserChosen = false;
let scoreTables = 0;
async function settle() {
  for (;;) {
    const status = await evaluate('window.realtopia.status()');
    if (status.dialog) {
      await answer(status.dialog);
      continue;
    }
    if (status.pending === 0) return status;
    await pause();
  }
}
async function checkChooserFocus() {
  const focus = await evaluate(`(() => { const e = document.activeElement;
    const first = document.querySelector('#overlay input[type=radio]:checked:enabled') || document.querySelector('#overlay input[type=radio]:enabled');
    return e === first && !!first; })()`);
  check(focus, 'the chooser did not open with the focus on its first item that can be chosen');
}
async function answer(dialog) {
  trace('dialog: ' + dialog.kind + ' ' + (dialog.icon || '') + ' ' + dialog.text.slice(0, 40));
  const button = (answer) => `#overlay button[data-answer="${answer}"]`;
  if (dialog.kind === 'chooser') await checkChooserFocus();
  if (dialog.kind === 'input' && touch) {
    const box = await evaluate(`(() => { const e = document.querySelector('#overlay input[type=text]');
      return [e.getBoundingClientRect().height, parseFloat(getComputedStyle(e).fontSize)]; })()`);
    check(box[0] >= 44 && box[1] >= 14, `on a phone a text box is ${box[0]} px high with ${box[1]} px text`);
  }
  if (dialog.kind === 'chooser' && chooserChosen) {
    chooserChosen = false;
    return click(button('ok'));
  }
  if (dialog.text.split('\n').filter((line) => line.includes('\t')).length > 1) {
    // A table of scores: its amounts line up on the right.
    const edges = await evaluate("Array.from(document.querySelectorAll('#overlay td.number')).map((td) => Math.round(td.getBoundingClientRect().right))");
    check(edges.length >= 10 && edges.every((edge) => edge === edges[0]), 'the scores do not line up: ' + edges.join());
    scoreTables++;
  }
  const needsAnswer = ['question', 'input', 'agreement', 'rules', 'chooser'];
  if (!needsAnswer.includes(dialog.kind === 'message' ? dialog.icon : dialog.kind)) {
    if (touch) {
      const answer = dialog.buttons.find((b) => b.default) || dialog.buttons[0];
      await click(button(answer.answer));
    } else {
      await key('enter');
    }
    return pause();  // the page opens the next dialog in the same turn when there is one
  }
  const line = moves[next++];
  if (dialog.kind === 'input') {
    if (line === '!cancel') return click(button('cancel'));
    await evaluate(`document.querySelector('#overlay input').value = ${JSON.stringify(line)}`);
    return click(button('ok'));
  }
  if (dialog.kind === 'chooser' && /^\d+$/.test(line)) {
    chooserChosen = true;
    return click(`#overlay label:nth-of-type(${line}) input`);
  }
  return click(button(line));
}

// A row of a list; on a phone a second row is added with "select several" switched on.
async function clickRows(list, rows) {
  for (let i = 0; i < rows.length; i++) {
    const several = touch && i > 0;
    if (several && i === 1) { await click('#select_several'); await settle(); }
    await click(`${list} .row:nth-child(${rows[i]})`, touch || i === 0 ? 0 : 2);
    await settle();
    trace('selected: ' + await evaluate(`Array.from(document.querySelectorAll('${list} .row.selected')).map((o) => Array.prototype.indexOf.call(o.parentNode.children, o)).join()`));
  }
  if (touch && rows.length > 1) { await click('#select_several'); await settle(); }
}

// Plays the moves; returns the states at the `state` lines. `atFirstState` runs there once.
async function playMoves(atFirstState) {
  next = 0;
  const states = [];
  while (next < moves.length) {
    trace('move: ' + moves[next]);
    const words = moves[next++].split(/\s+/);
    switch (words[0]) {
      case 'play':
        await click('#splash_play');
        break;
      case 'key':
        if (touch && KEY_BUTTONS[words[1]]) await click(`[data-control="button:${KEY_BUTTONS[words[1]]}"]`);
        else await key(words[1]);
        break;
      case 'area':
        await click(`#pnl_Areas .area:nth-of-type(${words[1]})`);
        break;
      case 'click':
        await clickRows(words[1] === 'avail' ? '#lst_Avail' : '#lst_portfolio', words[2].split(',').map(Number));
        break;
      case 'tick': {
        for (let i = 0; i < Number(words[1] || 1); i++) {
          const status = await settle();
          if (!status.clockRunning) break;
          await evaluate('void window.realtopia.tick()');
        }
        break;
      }
      case 'state':
        await settle();
        states.push(await evaluate('window.realtopia.state()'));
        if (states.length === 1 && atFirstState) await atFirstState();
        break;
      default:
        await click(`[data-control="button:${words[0]}"]`);
        break;
    }
    await settle();
  }
  return states;
}

// ---- What a phone shows ----

async function checkPhoneLayout() {
  const found = await evaluate(`(() => {
    const problems = [];
    const root = document.documentElement;
    if (root.scrollWidth > innerWidth) problems.push('the page scrolls sideways: ' + root.scrollWidth);
    if (getComputedStyle(document.body).touchAction !== 'manipulation') problems.push('a double tap zooms');
    const shown = (e) => e.getClientRects().length > 0 && getComputedStyle(e).visibility !== 'hidden';
    for (const e of document.querySelectorAll('#frame button, #frame .row, .menutitle, #chrome button')) {
      if (!shown(e)) continue;
      const r = e.getBoundingClientRect();
      if (r.height < 44) problems.push((e.id || e.className || e.textContent) + ' is ' + r.height + ' px high');
      if (r.right > innerWidth + 0.5) problems.push((e.id || e.textContent) + ' runs off the screen');
    }
    const walker = document.createTreeWalker(document.getElementById('frame'), NodeFilter.SHOW_TEXT);
    for (let node = walker.nextNode(); node; node = walker.nextNode()) {
      const e = node.parentElement;
      if (!node.textContent.trim() || !shown(e) || e.closest('.offscreen')) continue;
      const size = parseFloat(getComputedStyle(e).fontSize);
      if (size < 14) problems.push('"' + node.textContent.trim().slice(0, 30) + '" at ' + size + ' px');
    }
    const frame = document.getElementById('frame').getBoundingClientRect();
    const chrome = document.getElementById('chrome').getBoundingClientRect();
    if (chrome.top < frame.bottom - 0.5) problems.push('the file buttons cover the game');
    // Tab follows the screen: no control is reached after one that stands below or right of it.
    const stops = Array.from(document.querySelectorAll('#main button, #main [tabindex="0"]')).filter(shown);
    const boxes = stops.map((e) => e.getBoundingClientRect());
    for (let i = 0; i < stops.length; ++i)
      for (let j = i + 1; j < stops.length; ++j) {
        const a = boxes[i], b = boxes[j];
        const sameRow = b.top < a.bottom && a.top < b.bottom;
        if (b.bottom <= a.top || (sameRow && b.right <= a.left))
          problems.push('Tab reaches ' + (stops[j].id || stops[j].className) + ' after ' + (stops[i].id || stops[i].className));
      }
    // The ticker's canvas draws 16 px text at its own width: not shrunk below 14 px.
    const ticker = document.getElementById('ticker');
    const tickerScale = ticker.getBoundingClientRect().width / ticker.width;
    if (16 * tickerScale < 14) problems.push('the ticker text is ' + (16 * tickerScale).toFixed(1) + ' px');
    const row = document.querySelector('#lst_Avail .row');
    if (row && row.title !== row.textContent) problems.push('a row without its whole text as its title');
    return problems;
  })()`);
  for (const problem of found.slice(0, 10)) fail('at 390 x 844: ' + problem);
}

// ---- What a screen reader hears ----

async function accessibilityTree() {
  const { nodes } = await send('Accessibility.getFullAXTree', {});
  const value = (node, name) => {
    const property = (node.properties || []).find((p) => p.name === name);
    return property ? property.value.value : undefined;
  };
  return nodes.filter((node) => !node.ignored).map((node) => ({
    role: node.role && node.role.value, name: node.name ? node.name.value : '',
    live: value(node, 'live'), modal: value(node, 'modal'), pressed: value(node, 'pressed'),
    keys: value(node, 'keyshortcuts'), now: node.value ? node.value.value : value(node, 'valuetext'),
  }));
}

async function checkAccessibility() {
  await send('Accessibility.enable', {});
  const tree = await accessibilityTree();
  const named = (role, name) => tree.find((node) => node.role === role && node.name === name);
  const view = await evaluate('window.realtopia.view().window');
  const live = tree.find((node) => node.live === 'polite');
  check(live, 'no polite live region');
  const spoken = await evaluate("document.getElementById('ticker_text').textContent");
  check(spoken && spoken === view.ticker.spoken, `the live region says "${spoken}", the ticker "${view.ticker.spoken}"`);
  check(named('listbox', view.labels.availTitle.text), 'the list of properties for sale is not named by its heading');
  check(named('listbox', view.labels.portfolioTitle.text), 'the portfolio is not named by its heading');
  const areas = tree.filter((node) => node.role === 'button' && view.areas.some((a) => a.hint === node.name));
  check(areas.length === 6, `${areas.length} area buttons named by their areas`);
  check(areas.filter((node) => node.pressed === 'true').length === 1, 'not one area shown as chosen');
  // An area is reached by Tab and chosen with the arrow keys.
  const chosen = () => evaluate('window.realtopia.view().window.areas.findIndex((a) => a.red)');
  const area = await chosen();
  await evaluate(`document.querySelectorAll('#pnl_Areas .area')[${area}].focus()`);
  await key('right');
  await settle();
  check(await chosen() === (area + 1) % 6, 'the right arrow did not choose the next area');
  await key('down');
  await settle();
  check(await chosen() === (area + 4) % 6, 'the down arrow did not choose the area a row below');
  // In a list the arrow keys select, and the row they are at is the list's active row.
  await evaluate("document.getElementById('lst_Avail').focus()");
  await settle();
  for (let i = 0; i < 2; i++) { await key('down'); await settle(); }
  const active = await evaluate(`(() => { const list = document.getElementById('lst_Avail');
    const row = document.getElementById(list.getAttribute('aria-activedescendant') || '-');
    return row ? [Array.prototype.indexOf.call(list.children, row), row.getAttribute('aria-selected')] : null; })()`);
  check(active && active[0] === 1 && active[1] === 'true', 'the arrow keys do not move the active row: ' + JSON.stringify(active));
  const focusedArea = await evaluate('window.realtopia.view().window.areas.findIndex((a) => a.red)');
  await evaluate(`document.querySelectorAll('#pnl_Areas .area')[${focusedArea}].focus()`);
  const progress = tree.find((node) => node.role === 'progressbar');
  check(progress && progress.now === view.progressPercent && progress.name === view.labels.progress.text,
    'Game Progress is not a progress bar with its value');
  check(tree.some((node) => node.role === 'menubar'), 'no menu bar');
  check(named('button', 'Import hi-scores…'), 'the Import hi-scores button has no name');
  check(named('image', view.hints.trend), 'the trend picture is not named');
  check(named('image', view.hints.sponsor), 'the sponsor picture is not named');

  // A menu shows its keys; a box keeps the focus and nothing behind it acts.
  await click('.menutitle[data-menu="1"]');
  const menu = await accessibilityTree();
  check(menu.some((node) => node.role === 'menu'), 'an open menu is not a menu');
  check(menu.some((node) => node.role === 'menuitem' && node.keys === 'F9'), 'the Market Report item does not show F9');
  await click('.menutitle[data-menu="1"]');
  await click('.menutitle[data-menu="2"]');
  await evaluate(`document.querySelector('.menu .menuitem:last-child').dispatchEvent(new MouseEvent('mouseup', {bubbles: true}))`);
  await pause(50);
  const status = await evaluate('window.realtopia.status()');
  check(status.dialog && status.dialog.kind === 'about', 'the About box did not open');
  const dialog = await accessibilityTree();
  check(dialog.some((node) => node.role === 'dialog' && node.modal === true), 'a box is not a modal dialog');
  for (let i = 0; i < 4; i++) {
    await key('tab');
    check(await evaluate("document.getElementById('overlay').contains(document.activeElement)"),
      'Tab left the box');
  }
  // A click on a button behind the box does nothing, now or when the box closes.
  // (The clock is held while the box is open and goes on after it: not a press.)
  const gameState = async () => { const state = await evaluate('window.realtopia.state()'); delete state.window.status; delete state.window.timerEnabled; return JSON.stringify(state); };
  const before = await gameState();
  await evaluate("document.getElementById('cmd_Exit').click(); document.querySelector('.menutitle').dispatchEvent(new MouseEvent('mousedown', {bubbles: true}))");
  check(!(await evaluate("!!document.querySelector('#menubar .menu')")), 'a menu opened under the box');
  await key('esc');
  await settle();
  check(await evaluate(`document.activeElement === document.querySelectorAll('#pnl_Areas .area')[${focusedArea}]`),
    'the focus did not go back where it was when the box closed');
  const after = await evaluate('window.realtopia.status()');
  check(after.screen === 'main' && await gameState() === before,
    'a press behind the box was carried out when it closed');
  await send('Accessibility.disable', {});
}

// ---- 0. Served as players get it: compressed, and kept by the browser between visits ----

{
  const web = await serveWeb(pageDir);
  let transferred = 0;
  let inFlight = 0;
  const encodings = {};
  onEvent((method, params) => {
    if (method === 'Network.requestWillBeSent') inFlight++;
    if (method === 'Network.loadingFailed') inFlight--;
    if (method === 'Network.loadingFinished') {
      inFlight--;
      transferred += params.encodedDataLength;
    }
    if (method === 'Network.responseReceived') {
      const headers = Object.fromEntries(Object.entries(params.response.headers).map(([k, v]) => [k.toLowerCase(), v]));
      encodings[new URL(params.response.url).pathname] = headers['content-encoding'] || '';
    }
  });
  // A visit: the page ready and every request it made (the sounds among them) answered.
  const visit = async () => {
    transferred = 0;
    await open('seed=3&manual', web.url);
    while (inFlight > 0 || !(await evaluate("performance.getEntriesByType('resource').some((e) => e.name.endsWith('.wav'))"))) await pause(20);
    return transferred;
  };
  await send('Network.enable');
  const first = await visit();
  for (const file of ['/', '/realtopia.js', '/realtopia.wasm', '/WAVEFILE/CLICK.wav'])
    check(encodings[file] === 'br', `${file} came ${encodings[file] || 'uncompressed'}, not brotli-compressed`);
  const second = await visit();
  check(second < 10000, `a second visit transferred ${second} bytes (the first ${first})`);
  trace(`first visit ${first} bytes, second ${second}`);
  await send('Network.disable');
  await web.stop();
}

// ---- 1. The moves with a mouse and keys, in a desktop window ----

await screen(1280, 800, false);
await open(`seed=${SEED}&manual`);
const webStates = await playMoves(() => screenshot('web.png'));
const webHiScores = await evaluate("window.realtopia.file('hiscores')");
const webScreen = (await evaluate('window.realtopia.status()')).screen;

// ---- 2. Reloaded, the table is kept and a game left is offered; read aloud ----

await open('seed=5&manual');
check(await evaluate("window.realtopia.file('hiscores')") === webHiScores, 'the reloaded page lost the hi-score table');
next = moves.length;  // no answers from the moves
await click('#splash_play');
await click('#overlay button[data-answer="agree"]');
await settle();
await click('[data-control="button:start"]');
await settle();
for (let i = 0; i < 10; i++) { await evaluate('void window.realtopia.tick()'); await settle(); }
await checkAccessibility();
// The Options menu's choices are kept in the browser's storage: the fast ticker and the sound
// switched off outlast the reload.
async function chooseOption(caption) {
  await click('.menutitle[data-menu="1"]');
  await evaluate(`(() => { for (const row of document.querySelectorAll('.menu .menuitem'))
    if (row.textContent === ${JSON.stringify(caption)}) row.dispatchEvent(new MouseEvent('mouseup', {bubbles: true})); })()`);
  await settle();
}
const optionsBefore = (await evaluate('window.realtopia.state()')).window.menu;
check(optionsBefore.speed === 'medium' && optionsBefore.sound.checked, 'the options did not start at medium with sound on');
await chooseOption('Fast');
await chooseOption('Sound');
const optionsChosen = (await evaluate('window.realtopia.state()')).window.menu;
check(optionsChosen.speed === 'fast' && !optionsChosen.sound.checked, 'the Options menu did not take fast and sound off');
await reload();
const optionsKept = (await evaluate('window.realtopia.state()')).window.menu;
check(optionsKept.speed === 'fast' && !optionsKept.sound.checked,
  'the reloaded page forgot the options: ' + JSON.stringify(optionsKept));
await click('#splash_play');
await click('#overlay button[data-answer="agree"]');
await pause(50);
const offer = (await evaluate('window.realtopia.status()')).dialog;
check(offer && offer.icon === 'question' && offer.text.startsWith('Continue your game'),
  'the reloaded page did not offer the game left: ' + JSON.stringify(offer && offer.text));
if (offer) await click('#overlay button[data-answer="no"]');
await settle();

// ---- 3. Nothing lost: Exit Game, Alt+X and a discarded tab all leave the game to resume ----

// The game as it is kept: what a resumed game shows paused, whatever the clock was doing.
async function gameOf() {
  const state = await evaluate('window.realtopia.state()');
  for (const key of ['running', 'paused', 'window']) delete state[key];
  return JSON.stringify(state);
}
async function kept() {
  await settle();
  while (!(await evaluate('window.realtopia.status().kept'))) await pause(20);
}
// Opens the page, PLAY! by Enter wherever the focus is, agrees and answers the offer of the
// game left; the game then shown.
async function resume(base = address) {
  await open('seed=9&manual', base);
  await evaluate('document.activeElement && document.activeElement.blur()');
  await key('enter');
  await pause(50);
  check((await evaluate('window.realtopia.status()')).dialog?.kind === 'agreement', 'Enter on the splash is not PLAY!');
  await click('#overlay button[data-answer="agree"]');
  await pause(50);
  const offer = (await evaluate('window.realtopia.status()')).dialog;
  if (!offer || !offer.text.startsWith('Continue your game')) return null;
  await click('#overlay button[data-answer="yes"]');
  await settle();
  return gameOf();
}

await open('seed=9&manual');
// Esc on the splash is New User: the agreement, then the rules.
await key('esc');
await pause(50);
check((await evaluate('window.realtopia.status()')).dialog?.kind === 'agreement', 'Esc on the splash showed no agreement');
await click('#overlay button[data-answer="agree"]');
await pause(50);
const rules = (await evaluate('window.realtopia.status()')).dialog;
check(rules && rules.kind === 'rules', 'Esc on the splash is not New User: no rules after the agreement');
if (rules) await click(`#overlay button[data-answer="${(rules.buttons.find((b) => b.default) || rules.buttons[0]).answer}"]`);
await settle();
await click('[data-control="button:start"]');
for (let i = 0; i < 3; i++) { await evaluate('void window.realtopia.tick()'); await settle(); }
await clickRows('#lst_Avail', [2]);
await key('f6');
await settle();
let left = await gameOf();
await click('[data-control="button:exit"]');
await kept();
check((await evaluate('window.realtopia.status()')).screen === 'ended', 'Exit Game did not end the program');
check(await evaluate("getComputedStyle(document.getElementById('menubar')).visibility === 'hidden'"),
  'the menus of an ended program still show');
check(await resume() === left, 'the game left by Exit Game did not resume as it was');

await evaluate('void window.realtopia.tick()');
await settle();
left = await gameOf();
await key('alt+x');
await kept();
check(await resume() === left, 'the game left by Alt+X did not resume as it was');

// ---- 4. The menus by keys alone ----

{
  await key('esc');  // the resumed game goes on
  await settle();
  const menus = (await evaluate('window.realtopia.view().window.menus'));
  const options = menus.findIndex((m) => m.caption.text === 'Options');
  const speed = menus[options].items.findIndex((i) => i.items);
  const fast = menus[options].items[speed].items.findIndex((i) => i.caption.text === 'Fast');
  check(options >= 0 && speed >= 0 && fast >= 0, 'no Options → Scroller Speed → Fast');
  await evaluate("document.getElementById('cmd_Rules').focus()");
  const focusedItem = () => evaluate(`(() => { const e = document.activeElement;
    return e && e.classList.contains('menuitem') ? e.firstChild.textContent + (e.textContent.slice(e.firstChild.textContent.length)) : null; })()`);
  const running = await evaluate('window.realtopia.state().running');
  // Esc closes the menu and nothing else; Enter in it does not press the button behind.
  await key(`alt+${menus[options].caption.accelerator}`);
  check(await evaluate("document.activeElement.closest('.menu') !== null"), 'Alt+O did not go into the Options menu');
  await key('esc');
  await settle();
  check(!(await evaluate("!!document.querySelector('#menubar .menu')")), 'Esc did not close the menu');
  check(await evaluate('window.realtopia.state().running') === running, 'Esc in a menu reached the game');
  check(await evaluate("document.activeElement.id === 'cmd_Rules'"), 'the focus did not go back where it was');
  await key(`alt+${menus[options].caption.accelerator}`);
  for (let i = 0; i < speed; i++) await key('down');
  await key('right');
  for (let i = 0; i < fast; i++) await key('down');
  trace('menu item: ' + await focusedItem());
  await key('enter');
  await settle();
  const after = (await evaluate('window.realtopia.view().window.menus'))[options].items[speed].items[fast];
  check(after.checked, 'Options → Scroller Speed → Fast by keys did not choose the fast ticker');
  check(await evaluate("document.activeElement.id === 'cmd_Rules'"), 'the focus did not go back after choosing');
  check(await evaluate('window.realtopia.status().dialog') === null, 'Enter in a menu opened a box');
  // Every menu's every item is reached by the arrow keys.
  for (const [m, menu] of menus.entries()) {
    await key(`alt+${menu.caption.accelerator}`);
    const seen = [];
    for (const item of menu.items) {
      seen.push(await evaluate("document.activeElement.classList.contains('menuitem') && document.activeElement.dataset.accelerator"));
      if (item.items) {
        await key('right');
        for (let i = 0; i < item.items.length; i++) {
          check(await evaluate("document.activeElement.closest('.menu .menu') !== null"), `submenu of ${item.caption.text} not reached`);
          await key('down');
        }
        await key('left');
      }
      await key('down');
    }
    check(JSON.stringify(seen) === JSON.stringify(menu.items.map((i) => i.caption.accelerator)),
      `menu ${m}: the arrows reached ${JSON.stringify(seen)}`);
    await key('esc');
  }
  // The last item of Help, About, by keys: the box opens.
  const help = menus.find((menu) => menu.items.some((item) => item.control === 'menu:about'));
  await key(`alt+${help.caption.accelerator}`);
  await key('up');
  await key('enter');
  await pause(50);
  check((await evaluate('window.realtopia.status()')).dialog?.kind === 'about', 'About did not open by keys');
  await key('esc');
  await settle();

  // The damage/renovate chooser opens with the focus on its first item that can be chosen.
  await clickRows('#lst_portfolio', [1]);
  await key('f5');
  await pause(50);
  const chooser = (await evaluate('window.realtopia.status()')).dialog;
  check(chooser && chooser.kind === 'chooser', 'F5 on a property of the portfolio opened no chooser: ' + JSON.stringify(chooser && chooser.text));
  if (chooser && chooser.kind === 'chooser') {
    await checkChooserFocus();
    await click('#overlay button[data-answer="cancel"]');
  }
  await settle();
}

// ---- 5. A tab discarded in the background ----

{
  await evaluate('void window.realtopia.tick()');
  await settle();
  const discarded = await gameOf();
  await kept();
  await send('Page.setWebLifecycleState', { state: 'frozen' });
  const old = await newTab();
  check(await resume() === discarded, 'the game of a discarded tab did not resume as it was');
  await closeTab(old);
}

// ---- 6. The moves with taps on a phone ----

// Under another name the page is another site, with storage of its own: a fresh table.
await screen(390, 844, true);
touch = true;
await open(`seed=${SEED}&manual`, address.replace('127.0.0.1', 'localhost'));
const phoneStates = await playMoves(async () => { await checkPhoneLayout(); await screenshot('web-phone.png'); });
const phoneHiScores = await evaluate("window.realtopia.file('hiscores')");
const phoneScreen = (await evaluate('window.realtopia.status()')).screen;

// ---- 4. A friend's challenge by its link, and the same code and moves in the console ----

// The console tells the code of a game dealt from a seed of its own.
const friendData = fs.mkdtempSync(path.join(os.tmpdir(), 'realtopia-console-'));
const consoleChallenge = (args, input) => spawnSync(consoleProgram, args, {
  input, env: { ...process.env, XDG_DATA_HOME: friendData }, encoding: 'utf8' }).stdout;
const codeLine = consoleChallenge(['--seed', '123456789'], 'play\nagree\nchallenge\n')
  .split('\n').find((line) => line.startsWith('[challenge] '));
const CODE = codeLine ? codeLine.slice('[challenge] '.length) : '';
check(/^[0-9A-Z]{4}(-[0-9A-Z]{4})+$/.test(CODE), 'the console printed no challenge code: ' + codeLine);
const challengeMoves = ['play', 'tick', 'tick', 'tick', 'tick', 'tick', 'tick', 'tick', 'tick'];
const friendStates = consoleChallenge([], ['play', 'agree', `challenge ${CODE.toLowerCase()}`,
  ...challengeMoves, 'state'].join('\n') + '\n')
  .split('\n').filter((line) => line.startsWith('[state] '))
  .map((line) => JSON.parse(line.slice('[state] '.length)));
fs.rmSync(friendData, { recursive: true, force: true });

await screen(1280, 800, false);
touch = false;
await open(`challenge=${CODE}&manual`);
next = moves.length;  // no answers from the moves
await click('#splash_play');
await click('#overlay button[data-answer="agree"]');
// The game an earlier visit kept is offered first: the friend plays the challenge instead.
for (
  let offered = (await evaluate('window.realtopia.status()')).dialog;
  offered && /^Continue your game/.test(offered.text);
  offered = (await evaluate('window.realtopia.status()')).dialog
) {
  await click('#overlay button[data-answer="no"]');
  await pause(50);
}
await settle();
await click('[data-control="button:start"]');
await settle();
for (let i = 1; i < challengeMoves.length; i++) { await evaluate('void window.realtopia.tick()'); await settle(); }
const linked = await evaluate('window.realtopia.state()');
const friend = friendStates[0];
if (!friend) {
  fail('the console printed no state for the challenge');
} else {
  const differing = ['properties', 'areas', 'news', 'cash', 'month', 'year', 'monthsPlayed',
    'marketTrend', 'pendingNews'].filter((k) => JSON.stringify(linked[k]) !== JSON.stringify(friend[k]));
  check(differing.length === 0, 'the challenge by its link and in the console differ in: ' + differing.join(', '));
  check(friend.monthsPlayed > 0, 'no month of the challenge was played');
}

// Game > Challenge a Friend…: the code with its Copy button, which leaves the box open, and
// the page's own link to it.
await evaluate("void window.realtopia.invoke('menu:challengefriend')");
{
  let copyBox = null;
  for (let i = 0; i < 100 && !copyBox; i++) {
    await pause(10);
    copyBox = (await evaluate('window.realtopia.status()')).dialog;
  }
  check(copyBox && copyBox.kind === 'copy' && copyBox.copy.text === CODE,
    'Challenge a Friend showed no box with the code to copy: ' + JSON.stringify(copyBox));
  const shown = await evaluate(`(() => { const line = document.querySelector('#overlay input.dcopy');
    const link = document.querySelector('#overlay a.dlink');
    return [line ? line.value : '', link ? link.href : '']; })()`);
  check(shown[0] === CODE && shown[1].endsWith('?challenge=' + CODE), 'the copy box shows ' + shown.join(' '));
  await click('#overlay button.dcopybutton');
  await pause(50);
  check((await evaluate('window.realtopia.status()')).dialog?.kind === 'copy', 'Copy closed the box');
  await click('#overlay button[data-answer="ok"]');
  await settle();
}

await closeBrowser();
server.close();

// ---- The same moves in the console ----

const data = fs.mkdtempSync(path.join(os.tmpdir(), 'realtopia-console-'));
const run = spawnSync(consoleProgram, ['--seed', String(SEED)], {
  input: moves.join('\n') + '\n', env: { ...process.env, XDG_DATA_HOME: data }, encoding: 'utf8' });
const consoleStates = run.stdout.split('\n').filter((line) => line.startsWith('[state] '))
  .map((line) => JSON.parse(line.slice('[state] '.length)));
const hiScoreFile = path.join(data, 'realtopia', 'REALTOPI.DAT');
const consoleHiScores = fs.existsSync(hiScoreFile) ? fs.readFileSync(hiScoreFile).toString('base64') : null;
fs.rmSync(data, { recursive: true, force: true });

if (consoleStates.length === 0) fail('the console printed no state');
if (consoleHiScores === null) fail('the console wrote no hi-score table');
// The status bar follows the hint under the pointer, and the console has no pointer.
for (const state of consoleStates) delete state.window.status;
function compare(what, states, hiScores, screenName) {
  if (states.length !== consoleStates.length)
    fail(`${what}: ${states.length} states in the browser, ${consoleStates.length} in the console`);
  for (const state of states) delete state.window.status;
  consoleStates.forEach((expected, i) => {
    const actual = states[i];
    if (JSON.stringify(actual) === JSON.stringify(expected)) return;
    const differing = Object.keys(expected).filter((k) => JSON.stringify(actual && actual[k]) !== JSON.stringify(expected[k]));
    fail(`${what}: state ${i + 1} differs in: ${differing.join(', ')}`);
    for (const k of differing.slice(0, 3))
      console.error(`  ${k}: browser ${JSON.stringify(actual && actual[k]).slice(0, 300)}\n  ${k}: console ${JSON.stringify(expected[k]).slice(0, 300)}`);
  });
  if (hiScores !== consoleHiScores) fail(`${what}: the hi-score tables differ`);
  if (screenName !== 'ended') fail(`${what}: the page shows ${screenName}, not the end of the program`);
}
check(scoreTables === 2, `${scoreTables} tables of scores shown`);
compare('desktop', webStates, webHiScores, webScreen);
compare('phone', phoneStates, phoneHiScores, phoneScreen);
if (!process.exitCode) console.log(`the browser (mouse and keys, then taps on a phone) and the console agree on ${consoleStates.length} states and the hi-score table; the page reloads, is read aloud and fits a phone; a challenge by its link is the console's`);
