// A local web server for the page's folder.
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';

const types = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css',
                '.webmanifest': 'application/manifest+json', '.png': 'image/png', '.svg': 'image/svg+xml' };

// Serves folder on 127.0.0.1 at a free port, its files under prefix (a path
// such as 'page/'), and at each path of routes the HTML that its function makes
// of the query; resolves to { url, close }.
export function serve(folder, { prefix = '', routes = {} } = {}) {
  const server = http.createServer((request, response) => {
    const address = new URL(request.url, 'http://host');
    const route = routes[address.pathname.slice(1)];
    if (route) {
      response.writeHead(200, { 'content-type': 'text/html' }).end(route(address.searchParams));
      return;
    }
    const name = decodeURIComponent(address.pathname).slice(1 + prefix.length) || 'index.html';
    const file = path.join(folder, path.normalize(name));
    if (!address.pathname.startsWith(`/${prefix}`) || !file.startsWith(folder + path.sep) || !fs.existsSync(file) ||
        !fs.statSync(file).isFile()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'content-type': types[path.extname(file)] ?? 'application/octet-stream' });
    response.end(fs.readFileSync(file));
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve({
    url: `http://127.0.0.1:${server.address().port}/`,
    close: () => new Promise((done) => { server.closeAllConnections(); server.close(done); }),
  })));
}
