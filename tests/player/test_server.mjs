// The browser tests' server, in front of `webhost preview`: it puts the
// audio tap (page_tap.js) first into every page, counts the requests for
// clips, delivers a clip as a test plans it (stalls, trickles, a connection
// reset half way), can replace any file's answer, and takes the pages'
// reports.
import { readFileSync } from 'node:fs';
import http from 'node:http';
import path from 'node:path';

const tapScript = readFileSync(path.join(path.dirname(new URL(import.meta.url).pathname), 'page_tap.js'));

export class TestServer {
  constructor(upstream) {
    this.upstream = upstream; // webhost preview's URL, ending in '/'
    this.plans = new Map(); // clip name -> async (bytes, delivery) => {}
    this.overrides = new Map(); // path -> { status, type, body }
    this.extraScripts = new Map(); // page name -> script text
    this.requests = new Map(); // path -> count
    this.reports = [];
    this.reportWaiters = [];
    this.server = http.createServer((request, response) => {
      this.answer(request, response).catch((error) => {
        response.destroy(error);
      });
    });
  }

  async listen() {
    await new Promise((resolve) => this.server.listen(0, '127.0.0.1', resolve));
    this.url = `http://127.0.0.1:${this.server.address().port}/`;
    return this;
  }

  close() {
    this.server.closeAllConnections();
    return new Promise((resolve) => this.server.close(resolve));
  }

  requested(name) {
    return this.requests.get(`/${name}`) || 0;
  }

  // Resolves to the value of the first report named `name`.
  report(name) {
    const found = this.reports.find((r) => r.name === name);
    if (found) return Promise.resolve(found.value);
    return new Promise((resolve) => this.reportWaiters.push({ name, resolve }));
  }

  async answer(request, response) {
    const url = new URL(request.url, this.url);
    const name = decodeURIComponent(url.pathname);
    if (name === '/__zv_report') {
      let body = '';
      for await (const chunk of request) body += chunk;
      const report = JSON.parse(body);
      this.reports.push(report);
      for (const waiter of this.reportWaiters.filter((w) => w.name === report.name)) waiter.resolve(report.value);
      this.reportWaiters = this.reportWaiters.filter((w) => w.name !== report.name);
      response.end();
      return;
    }
    if (name === '/__zv_tap.js') {
      response.writeHead(200, { 'Content-Type': 'text/javascript', 'Cache-Control': 'no-store' });
      response.end(tapScript);
      return;
    }
    this.requests.set(name, (this.requests.get(name) || 0) + 1);
    const override = this.overrides.get(name);
    if (override) {
      response.writeHead(override.status, { 'Content-Type': override.type, 'Cache-Control': 'no-store' });
      response.end(override.body);
      return;
    }
    const upstream = await fetch(this.upstream + url.pathname.slice(1) + url.search);
    let bytes = Buffer.from(await upstream.arrayBuffer());
    const type = upstream.headers.get('Content-Type') || 'application/octet-stream';
    const headers = { 'Content-Type': type, 'Cache-Control': 'no-store' };
    if (type.startsWith('text/html')) {
      const page = path.basename(name);
      const extra = this.extraScripts.has(page) ? `<script>${this.extraScripts.get(page)}</script>` : '';
      const text = bytes.toString('latin1');
      const head = text.search(/<head[^>]*>/i);
      const at = head < 0 ? 0 : text.indexOf('>', head) + 1;
      bytes = Buffer.from(`${text.slice(0, at)}<script src="/__zv_tap.js"></script>${extra}${text.slice(at)}`, 'latin1');
    }
    const plan = this.plans.get(path.basename(name));
    if (!plan || upstream.status !== 200) {
      response.writeHead(upstream.status, headers);
      response.end(bytes);
      return;
    }
    response.writeHead(200, { ...headers, 'Content-Length': String(bytes.length) });
    await plan(bytes, {
      send: (chunk) => new Promise((resolve) => response.write(chunk, resolve)),
      end: (chunk) => new Promise((resolve) => response.end(chunk, resolve)),
      reset: () => response.socket.destroy(),
    });
  }
}

// The header and `frames` whole frames of a speech clip (20 bytes each).
export function speechBytes(frames) {
  return 154 + 20 * frames;
}
