// The three browser engines behind one small page interface, so that every
// scenario runs the same in each:
//
//   chromium  Debian's chromium, driven by puppeteer-core (DevTools protocol)
//   firefox   Debian's firefox-esr, driven by puppeteer-core (WebDriver BiDi)
//   webkit    WebKitGTK's MiniBrowser, the engine of Safari, driven by
//             selenium-webdriver through WebKitWebDriver (classic WebDriver),
//             on the X display the test runs under
//
// Each browser holds sound back until the visitor's first interaction
// (`allowAutoplay: false`, what every current browser does by default) or
// lets pages start sound by themselves, as a visitor's settings may.
//
//   page.evaluate(fn, ...args)  runs fn in the page, resolves to its result
//   page.waitFor(fn, arg, what) until fn(arg) is true in the page (20 s)
//   page.click(css)             a real click on the element
//   page.press(key)             'Tab', 'Enter' or 'Space' to the focused element
//   page.focus(css), page.screenshot(file), page.close()
import { spawn } from 'node:child_process';
import { existsSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import net from 'node:net';
import path from 'node:path';

const WAIT_MS = 20000;
export const MINIBROWSER = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
export const ENGINES = ['chromium', 'firefox', 'webkit'];

// The programs each engine needs, for the tests' check of the machine.
export function enginePrograms(engine, args) {
  if (engine === 'chromium') return [args.chromium];
  if (engine === 'firefox') return [args.firefox];
  return [args.webkitdriver, MINIBROWSER];
}

export async function launchBrowser(engine, args, { allowAutoplay }) {
  const load = createRequire(path.resolve(args.npm, 'package.json'));
  if (engine === 'chromium' || engine === 'firefox') return launchPuppeteer(load('puppeteer-core'), engine, args, allowAutoplay);
  return launchWebKit(load('selenium-webdriver'), args, allowAutoplay);
}

async function launchPuppeteer(puppeteer, engine, args, allowAutoplay) {
  const browser = engine === 'chromium'
    ? await puppeteer.launch({
      browser: 'chrome', executablePath: args.chromium, headless: true,
      args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
        '--disable-sync', '--no-first-run', '--disable-quic',
        `--autoplay-policy=${allowAutoplay ? 'no-user-gesture-required' : 'document-user-activation-required'}`],
    })
    : await puppeteer.launch({
      browser: 'firefox', executablePath: args.firefox, headless: true,
      extraPrefsFirefox: {
        'media.autoplay.default': allowAutoplay ? 0 : 5,
        'media.autoplay.block-webaudio': !allowAutoplay,
        'media.autoplay.blocking_policy': 0,
        'browser.shell.checkDefaultBrowser': false,
      },
    });
  return {
    async newPage(url) {
      const page = await browser.newPage();
      // The page's console goes to the test's log, for the reader of a failure.
      page.on('console', (message) => console.error(`[${engine} console] ${message.type()}: ${message.text()}`));
      page.on('pageerror', (error) => console.error(`[${engine} page error] ${error.message}`));
      await page.goto(url);
      return {
        evaluate: (fn, ...rest) => page.evaluate(fn, ...rest),
        waitFor: (fn, arg, what = 'condition') => page.waitForFunction(fn, { timeout: WAIT_MS, polling: 50 }, arg)
          .catch((error) => { throw new Error(`waiting for ${what}: ${error.message}`); }),
        click: (css) => page.click(css),
        focus: (css) => page.focus(css),
        press: (key) => page.keyboard.press(key === 'Space' ? ' ' : key),
        screenshot: (file) => page.screenshot({ path: file }),
        close: () => page.close(),
      };
    },
    close: () => browser.close(),
  };
}

async function freePort() {
  const server = net.createServer();
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const { port } = server.address();
  await new Promise((resolve) => server.close(resolve));
  return port;
}

async function launchWebKit(selenium, args, allowAutoplay) {
  const { Builder, By, Key, until } = selenium;
  const port = await freePort();
  const driverProcess = spawn(args.webkitdriver, [`--port=${port}`], { stdio: ['ignore', 'ignore', 'inherit'] });
  const stopDriver = () => driverProcess.kill('SIGTERM');
  process.once('exit', stopDriver);
  // The driver answers its status once it listens.
  for (let tries = 0; ; ++tries) {
    try {
      const status = await fetch(`http://127.0.0.1:${port}/status`);
      if (status.ok) break;
    } catch (error) {
      if (tries > 200 || driverProcess.exitCode !== null) throw new Error(`WebKitWebDriver did not start: ${error.message}`);
    }
    await new Promise((resolve) => setTimeout(resolve, 50)); // the driver's start, bounded by the tries
  }
  const browserArgs = ['--automation', `--autoplay-policy=${allowAutoplay ? 'allow' : 'deny'}`,
    `--media-playback-requires-user-gesture=${allowAutoplay ? 'false' : 'true'}`, '--enable-tabs-to-links=true'];
  const driver = await new Builder()
    .usingServer(`http://127.0.0.1:${port}`)
    .withCapabilities({
      browserName: 'MiniBrowser',
      'webkitgtk:browserOptions': { binary: MINIBROWSER, args: browserArgs },
    })
    .build();
  const keys = { Tab: Key.TAB, Enter: Key.ENTER, Space: ' ', ArrowRight: Key.ARROW_RIGHT, ArrowLeft: Key.ARROW_LEFT,
    Home: Key.HOME, End: Key.END };
  const evaluate = (fn, ...rest) => driver.executeScript(`return (${fn}).apply(null, arguments)`, ...rest);
  return {
    async newPage(url) {
      await driver.get(url);
      return {
        evaluate,
        waitFor: (fn, arg, what = 'condition') => driver.wait(async () => Boolean(await evaluate(fn, arg)), WAIT_MS,
          `waiting for ${what}`),
        click: async (css) => (await driver.wait(until.elementLocated(By.css(css)), WAIT_MS)).click(),
        focus: (css) => evaluate((selector) => document.querySelector(selector).focus(), css),
        press: (key) => driver.actions().sendKeys(keys[key]).perform(),
        screenshot: async (file) => writeFileSync(file, Buffer.from(await driver.takeScreenshot(), 'base64')),
        close: async () => {},
      };
    },
    async close() {
      await driver.quit().catch(() => {});
      process.removeListener('exit', stopDriver);
      stopDriver();
      if (driverProcess.exitCode === null) await new Promise((resolve) => driverProcess.once('exit', resolve));
    },
  };
}

export function engineAvailable(engine, args) {
  return enginePrograms(engine, args).every((p) => p && !p.endsWith('NOTFOUND') && existsSync(p));
}
