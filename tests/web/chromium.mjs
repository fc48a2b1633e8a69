// Headless Chromium driven over the DevTools protocol, and a page folder served to it from
// 127.0.0.1: what the browser test and the web benchmark share. Node's own WebSocket, no
// packages.

import { spawn } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';

const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.svg': 'image/svg+xml', '.wav': 'audio/wav' };

// Serves `pageDir`, and the in-memory pages of `extra` by their paths ("/empty.html": text).
export async function servePage(pageDir, extra = {}) {
  const server = http.createServer((request, response) => {
    const pathname = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    if (pathname in extra) {
      response.writeHead(200, { 'Content-Type': 'text/html' });
      response.end(extra[pathname]);
      return;
    }
    const file = path.join(pageDir, pathname);
    const name = file.endsWith('/') ? file + 'index.html' : file;
    if (!name.startsWith(pageDir) || !fs.existsSync(name)) {
      response.writeHead(404);
      response.end();
      return;
    }
    response.writeHead(200, { 'Content-Type': TYPES[path.extname(name)] || 'application/octet-stream' });
    fs.createReadStream(name).pipe(response);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return { server, address: `http://127.0.0.1:${server.address().port}/` };
}

// Serves `folder` as players get it, through scripts/serve-web.py (compressed, with validators);
// `url` is its address, `stop` ends it.
export async function serveWeb(folder) {
  const script = new URL('../../scripts/serve-web.py', import.meta.url).pathname;
  // Its log of requests is left out.
  const server = spawn('python3', [script, folder, '0'], { stdio: ['ignore', 'pipe', 'ignore'] });
  const url = await new Promise((resolve, reject) => {
    let text = '';
    server.stdout.on('data', (chunk) => {
      text += chunk;
      const found = text.match(/ at (http:\/\/\S+)/);
      if (found) resolve(found[1]);
    });
    server.on('exit', () => reject(new Error('serve-web.py ended')));
  });
  const stop = async () => {
    const ended = new Promise((resolve) => server.on('exit', resolve));
    server.kill();
    await ended;
  };
  return { url, stop };
}

// Starts the browser with one blank tab attached: `send` a DevTools command, `evaluate` an
// expression in the page, `close` everything.
export async function startBrowser(trace = () => {}) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'realtopia-chromium-'));
  const browser = spawn('chromium', ['--headless=new', '--no-sandbox', '--disable-gpu',
    '--no-first-run', '--remote-debugging-port=0', `--user-data-dir=${profile}`,
    '--window-size=900,700', 'about:blank'], { stdio: ['ignore', 'ignore', 'pipe'] });
  const endpoint = await new Promise((resolve, reject) => {
    let text = '';
    browser.stderr.on('data', (chunk) => {
      text += chunk;
      const found = text.match(/DevTools listening on (ws:\/\/\S+)/);
      if (found) resolve(found[1]);
    });
    browser.on('exit', () => reject(new Error('chromium ended: ' + text)));
  });

  trace('browser: ' + endpoint);
  const socket = new WebSocket(endpoint);
  await new Promise((resolve) => socket.addEventListener('open', resolve));
  let nextId = 1;
  const waiting = new Map();
  const listeners = [];
  socket.addEventListener('message', (event) => {
    const message = JSON.parse(event.data);
    if (message.id && waiting.has(message.id)) {
      waiting.get(message.id)(message);
      waiting.delete(message.id);
    } else if (message.method && message.sessionId === session) {
      for (const listener of listeners) listener(message.method, message.params);
    }
  });
  let session;
  let targetId;
  function send(method, params = {}) {
    const id = nextId++;
    socket.send(JSON.stringify({ id, method, params, sessionId: session }));
    return new Promise((resolve, reject) => waiting.set(id, (message) =>
      (message.error ? reject(new Error(method + ': ' + message.error.message)) : resolve(message.result))));
  }
  async function evaluate(expression) {
    const result = await send('Runtime.evaluate', { expression, awaitPromise: true, returnByValue: true });
    if (result.exceptionDetails) throw new Error(expression + ': ' + JSON.stringify(result.exceptionDetails));
    return result.result.value;
  }
  async function close() {
    socket.close();
    const ended = new Promise((resolve) => browser.on('exit', resolve));
    browser.kill();
    await ended;
    // Chromium's helpers may still be leaving the profile for a moment.
    for (let attempt = 0; ; attempt++) {
      try {
        fs.rmSync(profile, { recursive: true, force: true, maxRetries: 5 });
        break;
      } catch (error) {
        if (attempt === 20) throw error;
        await new Promise((resolve) => setTimeout(resolve, 100));
      }
    }
  }

  // A new tab, attached in place of the one before (which stays as it is); its id.
  async function newTab() {
    const before = targetId;
    session = undefined;
    ({ targetId } = await send('Target.createTarget', { url: 'about:blank' }));
    ({ sessionId: session } = await send('Target.attachToTarget', { targetId, flatten: true }));
    trace('attached');
    await send('Page.enable');
    return before;
  }
  async function closeTab(id) {
    const current = session;
    session = undefined;
    await send('Target.closeTarget', { targetId: id });
    session = current;
  }
  // `listener(method, params)` hears the attached tab's events.
  const onEvent = (listener) => listeners.push(listener);

  await newTab();
  return { send, evaluate, close, newTab, closeTab, onEvent };
}
