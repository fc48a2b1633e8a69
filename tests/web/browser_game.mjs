// Plays tests/web/moves.txt in the page, in headless Chromium driven over the DevTools
// protocol, and the same moves in realtopia-console with the same seed; the game's state at
// every `state` line and the hi-score file at the end must be the same.
//
//   node --experimental-websocket browser_game.mjs PAGE_DIR CONSOLE MOVES [SCREENSHOT]
//
// The page runs with ?manual: its clock stands still and every month is a `tick` of this
// script, as in the console, so nothing here depends on how fast the machine is.

import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

import { servePage, startBrowser } from './chromium.mjs';

const [pageArgument, consoleProgram, movesFile, screenshot] = process.argv.slice(2);
const pageDir = path.resolve(pageArgument);
const SEED = 17;
const moves = fs.readFileSync(movesFile, 'utf8').split('\n')
  .map((line) => line.trim()).filter((line) => line && !line.startsWith('#'));

const trace = process.env.REALTOPIA_TRACE ? (text) => console.error(text) : () => {};

function fail(message) {
  console.error('FAIL: ' + message);
  process.exitCode = 1;
}

// ---- The page, served from its folder, in the browser ----

const { server, address } = await servePage(pageDir);
const { send, evaluate, close: closeBrowser } = await startBrowser(trace);
await send('Page.navigate', { url: `${address}?seed=${SEED}&manual` });
while (!(await evaluate("!!(document.documentElement && document.documentElement.dataset.ready === '1')"))) await pause();

function pause() { return new Promise((resolve) => setTimeout(resolve, 5)); }

// ---- The player's hands ----

async function click(selector, modifiers = 0) {
  const box = await evaluate(`(() => { const e = document.querySelector(${JSON.stringify(selector)});
    if (!e) return null; const r = e.getBoundingClientRect();
    return {x: r.left + r.width / 2, y: r.top + r.height / 2}; })()`);
  if (!box) throw new Error('nothing to click: ' + selector);
  await press(box, modifiers);
}
// A row of a list box (the page draws the window unscaled when driven by hand, so the
// rows are where their elements say).
async function clickRow(list, row, modifiers = 0) {
  await evaluate(`document.querySelector('${list}').options[${row - 1}].scrollIntoView({block: 'nearest'})`);
  await click(`${list} option:nth-child(${row})`, modifiers);
}
async function press(box, modifiers) {
  for (const type of ['mouseMoved', 'mousePressed', 'mouseReleased'])
    await send('Input.dispatchMouseEvent', { type, x: box.x, y: box.y, button: 'left',
      clickCount: 1, modifiers });
}

const KEY_CODES = { esc: ['Escape', 27], f1: ['F1', 112], f2: ['F2', 113], f5: ['F5', 116],
  f6: ['F6', 117], f7: ['F7', 118], f9: ['F9', 120], f12: ['F12', 123] };
// A key, or an accelerator written as the console writes it ("alt+u", "ctrl+4").
async function key(name) {
  const parts = name.toLowerCase().split('+');
  const last = parts.pop();
  const modifiers = (parts.includes('alt') ? 1 : 0) | (parts.includes('ctrl') ? 2 : 0);
  let [keyName, code, vk] = KEY_CODES[last] ? [KEY_CODES[last][0], KEY_CODES[last][0], KEY_CODES[last][1]]
    : [last, /\d/.test(last) ? 'Digit' + last : 'Key' + last.toUpperCase(), last.toUpperCase().charCodeAt(0)];
  for (const type of ['rawKeyDown', 'keyUp'])
    await send('Input.dispatchKeyEvent', { type, key: keyName, code, modifiers,
      windowsVirtualKeyCode: vk, nativeVirtualKeyCode: vk });
}

// Answers the dialogs that come up until the page is idle; boxes that only inform are
// closed with Enter, the others take the next line of the moves.
let next = 0;
let chooserChosen = false;
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
async function answer(dialog) {
  trace('dialog: ' + dialog.kind + ' ' + (dialog.icon || '') + ' ' + dialog.text.slice(0, 40));
  const button = (answer) => `#overlay button[data-answer="${answer}"]`;
  if (dialog.kind === 'chooser' && chooserChosen) {
    chooserChosen = false;
    return click(button('ok'));
  }
  const needsAnswer = ['question', 'input', 'agreement', 'rules', 'chooser'];
  if (!needsAnswer.includes(dialog.kind === 'message' ? dialog.icon : dialog.kind)) {
    await key('enter');
    return waitClosed(dialog);
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
  return click(button(line.replace(/^topic /, 'topic ')));
}
async function waitClosed(dialog) {
  // The page opens the next dialog in the same turn when there is one.
  await pause();
  void dialog;
}
KEY_CODES.enter = ['Enter', 13];

// ---- The moves ----

const webStates = [];
while (next < moves.length) {
  trace('move: ' + moves[next]);
  const words = moves[next++].split(/\s+/);
  switch (words[0]) {
    case 'play':
      await click('#splash_play');
      break;
    case 'key':
      await key(words[1]);
      break;
    case 'area':
      await click(`#pnl_Areas .area:nth-of-type(${words[1]})`);
      break;
    case 'click': {
      const list = words[1] === 'avail' ? '#lst_Avail' : '#lst_portfolio';
      const rows = words[2].split(',').map(Number);
      for (let i = 0; i < rows.length; i++) {
        await clickRow(list, rows[i], i === 0 ? 0 : 2);
        await settle();
        trace('selected: ' + await evaluate(`Array.from(document.querySelector('${list}').selectedOptions).map((o) => o.index).join()`));
      }
      break;
    }
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
      webStates.push(await evaluate('window.realtopia.state()'));
      break;
    default:
      await click(`[data-control="button:${words[0]}"]`);
      break;
  }
  await settle();
}
const webHiScores = await evaluate("window.realtopia.file('hiscores')");
const webScreen = (await evaluate('window.realtopia.status()')).screen;
if (screenshot) {
  const shot = await send('Page.captureScreenshot', { format: 'png' });
  fs.writeFileSync(screenshot, Buffer.from(shot.data, 'base64'));
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

if (consoleStates.length === 0) fail('the console printed no state');
if (webStates.length !== consoleStates.length)
  fail(`${webStates.length} states in the browser, ${consoleStates.length} in the console`);
// The status bar follows the hint under the pointer, and the console has no pointer.
for (const state of [...consoleStates, ...webStates]) delete state.window.status;
consoleStates.forEach((expected, i) => {
  const actual = webStates[i];
  if (JSON.stringify(actual) === JSON.stringify(expected)) return;
  const differing = Object.keys(expected).filter((k) => JSON.stringify(actual && actual[k]) !== JSON.stringify(expected[k]));
  fail(`state ${i + 1} differs in: ${differing.join(', ')}`);
  for (const k of differing.slice(0, 3))
    console.error(`  ${k}: browser ${JSON.stringify(actual && actual[k]).slice(0, 300)}\n  ${k}: console ${JSON.stringify(expected[k]).slice(0, 300)}`);
});
if (consoleHiScores === null) fail('the console wrote no hi-score table');
if (webHiScores !== consoleHiScores) fail('the hi-score tables differ');
if (webScreen !== 'ended') fail(`the page shows ${webScreen}, not the end of the program`);
fs.rmSync(data, { recursive: true, force: true });
if (!process.exitCode) console.log(`the browser and the console agree on ${consoleStates.length} states and the hi-score table`);
