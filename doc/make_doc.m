function make_doc(outdir, benchfile)
  % Writes the reference manual as static HTML into OUTDIR (default
  % build/doc): index.html, conventions.html, turbulence.html (propagation
  % through turbulence), media.html (propagation through media), focus.html
  % (focusing and sampling), beams.html (beam quality and polarization),
  % gallery.html, performance.html, montecarlo.html,
  % python.html and one page per command, from the help texts of
  % src/commands/*.m and inst/*.m (the one source of every command's help),
  % the examples and their pictures (build/demo, from make demo) and the
  % measurement of this machine in BENCHFILE (default
  % build/bench-doc/bench.txt, from make bench-doc; doc/performance_page.m).
  % Relative links only: the pages work from the file system.
  root = fileparts(fileparts(mfilename('fullpath')));
  if (nargin < 1)
    outdir = fullfile(root, 'build', 'doc');
  end
  if (nargin < 2)
    benchfile = fullfile(root, 'build', 'bench-doc', 'bench.txt');
  end
  if (! exist(outdir, 'dir'))
    mkdir(outdir);
  end
  version = strtrim(fileread(fullfile(root, 'VERSION')));

  % The help texts.
  files = [dir(fullfile(root, 'src', 'commands', 'KV*.m')); dir(fullfile(root, 'inst', '*.m'))];
  cmds = struct('name', {}, 'summary', {}, 'lines', {}, 'file', {});
  for k = 1:numel(files)
    [lines, name, summary] = read_help(fullfile(files(k).folder, files(k).name));
    cmds(end + 1) = struct('name', name, 'summary', summary, 'lines', {lines}, ...
                           'file', files(k).name);
  end
  names = {cmds.name};
  groups = read_index(fullfile(root, 'packaging', 'INDEX.in'), names);

  copyfile(fullfile(root, 'doc', 'style.css'), fullfile(outdir, 'style.css'));

  % One page per command.
  for k = 1:numel(cmds)
    body = command_body(cmds(k), names);
    write_page(outdir, [cmds(k).name '.html'], cmds(k).name, body, version, groups, cmds);
  end

  % The index: the hand-written text and the commands under their headings.
  list = '';
  for g = 1:numel(groups)
    list = [list sprintf('<h3>%s</h3>\n<table class="cmds">\n', esc(groups(g).title))];
    for n = groups(g).names
      c = cmds(strcmp(names, n{1}));
      list = [list sprintf('<tr><td><a href="%s.html"><code>%s</code></a></td><td>%s</td></tr>\n', ...
                           c.name, c.name, esc(c.summary))];
    end
    list = [list "</table>\n"];
  end
  body = fileread(fullfile(root, 'doc', 'index.html.in'));
  body = strrep(body, '@VERSION@', version);
  body = strrep(body, '@COMMANDS@', list);
  write_page(outdir, 'index.html', 'Korvane', body, version, groups, cmds);

  body = fileread(fullfile(root, 'doc', 'conventions.html.in'));
  write_page(outdir, 'conventions.html', 'Conventions', link_names(body, names), version, groups, cmds);

  body = fileread(fullfile(root, 'doc', 'turbulence.html.in'));
  write_page(outdir, 'turbulence.html', 'Propagation through turbulence', link_names(body, names), ...
             version, groups, cmds);

  body = fileread(fullfile(root, 'doc', 'media.html.in'));
  write_page(outdir, 'media.html', 'Propagation through media', link_names(body, names), ...
             version, groups, cmds);

  body = fileread(fullfile(root, 'doc', 'focus.html.in'));
  write_page(outdir, 'focus.html', 'Focusing and sampling', link_names(body, names), version, ...
             groups, cmds);

  body = fileread(fullfile(root, 'doc', 'beams.html.in'));
  write_page(outdir, 'beams.html', 'Beam quality and polarization', link_names(body, names), ...
             version, groups, cmds);

  write_page(outdir, 'gallery.html', 'Gallery', gallery_body(root, outdir, names), version, groups, cmds);
  write_page(outdir, 'performance.html', 'Performance', performance_page(root, benchfile), version, groups, cmds);
  write_page(outdir, 'montecarlo.html', 'Monte Carlo on a cluster', montecarlo_body(root, names), version, ...
             groups, cmds);
  write_page(outdir, 'python.html', 'Python', python_body(root, outdir, names), version, groups, cmds);
  printf('%d pages in %s\n', numel(cmds) + 8, outdir);
end

function [lines, name, summary] = read_help(file)
  % The leading comment block of an m-file (after its function line), with
  % the comment sign taken off.
  text = strsplit(fileread(file), "\n");
  lines = {};
  started = false;
  for k = 1:numel(text)
    t = regexprep(text{k}, '\r$', '');
    if (numel(t) > 0 && t(1) == '%')
      lines{end + 1} = t(2:end);
      started = true;
    elseif (started)
      break;
    end
  end
  tok = regexp(lines{1}, '^\s*(\S+)\s+(.*)$', 'tokens', 'once');
  name = tok{1};
  summary = strtrim(tok{2});
  lines = lines(2:end);
end

function groups = read_index(file, names)
  % The headings of the package INDEX, with the functions this tree has;
  % any other function goes under "Other".
  text = strsplit(fileread(file), "\n");
  groups = struct('title', {}, 'names', {});
  seen = {};
  for k = 2:numel(text)
    t = text{k};
    if (isempty(strtrim(t)))
      continue;
    elseif (t(1) != ' ')
      groups(end + 1) = struct('title', strtrim(t), 'names', {{}});
    else
      w = strsplit(strtrim(t));
      w = w(ismember(w, names));
      groups(end).names = [groups(end).names, w];
      seen = [seen, w];
    end
  end
  rest = setdiff(names, seen);
  if (! isempty(rest))
    groups(end + 1) = struct('title', 'Other', 'names', {rest});
  end
  groups = groups(! cellfun(@isempty, {groups.names}));
end

function body = command_body(c, names)
  % Sections of a help text: the call forms, the arguments (a table), what
  % the command does, the example and the see-also links.
  paras = split_paragraphs(c.lines);
  body = sprintf('<p class="summary">%s</p>\n', esc(c.summary));
  k = 1;
  if (k <= numel(paras))
    body = [body '<h2>Call</h2>' "\n" '<pre class="call">' esc(strjoin(dedent(paras{k}), "\n")) "</pre>\n"];
    k += 1;
  end
  if (k <= numel(paras) && is_argument_list(paras{k}))
    body = [body "<h2>Arguments</h2>\n" argument_table(paras{k}, names)];
    k += 1;
  end
  what = '';
  example = '';
  seealso = '';
  while (k <= numel(paras))
    p = paras{k};
    first = strtrim(p{1});
    if (strncmp(first, 'Example', 7))
      head = esc(regexprep(first, ':$', ''));
      code = dedent(p(2:end));
      example = [example sprintf('<h2>%s</h2>\n<pre class="example">%s</pre>\n', ...
                                 head, esc(strjoin(code, "\n")))];
    elseif (strncmp(first, 'See also', 8))
      refs = regexp(strjoin(strtrim(p), ' '), '[A-Za-z_]\w*', 'match');
      refs = refs(3:end);
      items = cellfun(@(r) ref_link(r, names), refs, 'uniformoutput', false);
      seealso = sprintf('<h2>See also</h2>\n<p class="seealso">%s</p>\n', strjoin(items, ', '));
    elseif (all(cellfun(@(l) numel(l) - numel(strtrimleft(l)) >= 5, p)))
      what = [what '<pre>' esc(strjoin(dedent(p), "\n")) "</pre>\n"];
    else
      what = [what render_paragraph(p, names)];
    end
    k += 1;
  end
  if (! isempty(what))
    body = [body "<h2>Description</h2>\n" what];
  end
  body = [body example seealso];
end

function paras = split_paragraphs(lines)
  paras = {};
  cur = {};
  for k = 1:numel(lines)
    if (isempty(strtrim(lines{k})))
      if (! isempty(cur))
        paras{end + 1} = cur;
        cur = {};
      end
    else
      cur{end + 1} = lines{k};
    end
  end
  if (! isempty(cur))
    paras{end + 1} = cur;
  end
end

function out = render_paragraph(p, names)
  % Prose, with indented lines (formulas) kept as preformatted blocks.
  out = '';
  prose = {};
  pre = {};
  base = numel(p{1}) - numel(strtrimleft(p{1}));
  for k = 1:numel(p)
    ind = numel(p{k}) - numel(strtrimleft(p{k}));
    if (ind > base)
      if (! isempty(prose))
        out = [out '<p>' link_names(esc(strjoin(strtrim(prose), ' ')), names) "</p>\n"];
        prose = {};
      end
      pre{end + 1} = p{k};
    else
      if (! isempty(pre))
        out = [out '<pre>' esc(strjoin(dedent(pre), "\n")) "</pre>\n"];
        pre = {};
      end
      prose{end + 1} = p{k};
    end
  end
  if (! isempty(prose))
    out = [out '<p>' link_names(esc(strjoin(strtrim(prose), ' ')), names) "</p>\n"];
  end
  if (! isempty(pre))
    out = [out '<pre>' esc(strjoin(dedent(pre), "\n")) "</pre>\n"];
  end
end

function tf = is_argument_list(p)
  tf = ! isempty(regexp(p{1}, '^\s+\S.*?\s{2,}\S', 'once'));
end

function out = argument_table(p, names)
  % "name  description" lines, continuation lines indented to the
  % description column.
  rows = {};
  for k = 1:numel(p)
    tok = regexp(p{k}, '^(\s+)(\S.*?)\s{2,}(\S.*)$', 'tokens', 'once');
    lead = numel(p{k}) - numel(strtrimleft(p{k}));
    if (! isempty(tok) && (isempty(rows) || lead <= rows{end}{3}))
      rows{end + 1} = {tok{2}, tok{3}, numel(tok{1})};
    elseif (! isempty(rows))
      rows{end}{2} = [rows{end}{2} ' ' strtrim(p{k})];
    end
  end
  out = "<table class=\"args\">\n";
  for k = 1:numel(rows)
    out = [out sprintf('<tr><td><code>%s</code></td><td>%s</td></tr>\n', esc(rows{k}{1}), ...
                       link_names(esc(rows{k}{2}), names))];
  end
  out = [out "</table>\n"];
end

function s = ref_link(r, names)
  if (any(strcmp(names, r)))
    s = sprintf('<a href="%s.html"><code>%s</code></a>', r, r);
  else
    s = sprintf('<code>%s</code>', esc(r));
  end
end

function t = link_names(t, names)
  % Links every mention of a documented function (KVxxx) in a text.
  [tok, rest] = regexp(t, '\<(KV[A-Za-z]+|korvane_version)\>', 'match', 'split');
  out = rest{1};
  for k = 1:numel(tok)
    if (any(strcmp(names, tok{k})))
      out = [out sprintf('<a href="%s.html">%s</a>', tok{k}, tok{k})];
    else
      out = [out tok{k}];
    end
    out = [out rest{k + 1}];
  end
  t = out;
end

function lines = dedent(lines)
  if (isempty(lines))
    return;
  end
  ind = min(cellfun(@(l) numel(l) - numel(strtrimleft(l)), lines));
  lines = cellfun(@(l) l(ind + 1:end), lines, 'uniformoutput', false);
end

function s = strtrimleft(s)
  s = regexprep(s, '^\s+', '');
end

function s = esc(s)
  s = strrep(s, '&', '&amp;');
  s = strrep(s, '<', '&lt;');
  s = strrep(s, '>', '&gt;');
end

function body = gallery_body(root, outdir, names)
  % Every example script with the pictures it wrote into build/demo, each
  % under the caption written beside it (<picture>.txt).
  demo = fullfile(root, 'build', 'demo');
  imgdir = fullfile(outdir, 'img');
  if (! exist(imgdir, 'dir'))
    mkdir(imgdir);
  end
  % Pictures of an earlier build go.
  old = dir(fullfile(imgdir, '*.png'));
  for k = 1:numel(old)
    delete(fullfile(imgdir, old(k).name));
  end
  pngs = dir(fullfile(demo, '*.png'));
  pngs = {pngs.name};
  scripts = dir(fullfile(root, 'examples', '*.m'));
  scripts = {scripts.name};
  % run_examples.m runs them; demo_*.m are the helpers they share.
  scripts = scripts(! (strcmp(scripts, 'run_examples.m') | strncmp(scripts, 'demo_', 5)));
  % A script's pictures start with its name: <name>.png, <name>_*.png; a
  % Python example's with python_<name>.
  files = cellfun(@(f) fullfile(root, 'examples', f), scripts, 'UniformOutput', false);
  bases = regexprep(scripts, '\.m$', '');
  titles = bases;
  py = dir(fullfile(root, 'examples', 'python', '*.py'));
  py = {py.name};
  py = py(! strcmp(py, 'run_examples.py'));
  files = [files, cellfun(@(f) fullfile(root, 'examples', 'python', f), py, 'UniformOutput', false)];
  bases = [bases, regexprep(py, '^(.*)\.py$', 'python_$1')];
  titles = [titles, strcat('python/', py)];
  body = ['<p>The pictures that <code>make demo</code> draws, each with the script that ' ...
          'made it (<code>examples/</code>; the <code>demo_*.m</code> files there are the ' ...
          'helpers they share: <code>demo_figure</code>, <code>demo_image</code> and ' ...
          '<code>demo_save</code> lay out, draw and write a picture, <code>demo_dir()</code> ' ...
          'is the folder <code>build/demo</code>), then those of the Python examples ' ...
          '(<code>examples/python/</code>).</p>' "\n"];
  if (isempty(pngs))
    body = [body '<p class="note">No pictures yet: run <code>make demo</code>, then ' ...
            '<code>make doc</code>.</p>' "\n"];
  end
  % Each picture belongs to the script whose name starts its own, the
  % longest such (a_b_c.png to a_b.m rather than to a.m).
  owner = zeros(size(pngs));
  for j = 1:numel(pngs)
    fits = find(cellfun(@(b) strncmp(pngs{j}, [b '_'], numel(b) + 1) ...
                             || strcmp(pngs{j}, [b '.png']), bases));
    if (! isempty(fits))
      [~, longest] = max(cellfun(@numel, bases(fits)));
      owner(j) = fits(longest);
    end
  end
  toc = '';
  sections = '';
  for k = 1:numel(files)
    base = bases{k};
    mine = pngs(owner == k);
    code = fileread(files{k});
    % In the order the script names them (its header lists what it writes).
    first = cellfun(@(p) min([strfind(code, p), Inf]), mine);
    [~, order] = sort(first);
    mine = mine(order);
    toc = [toc sprintf('<li><a href="#%s">%s</a></li>\n', base, titles{k})];
    sections = [sections sprintf('<h2 id="%s">%s</h2>\n<div class="pics">\n', base, titles{k})];
    for p = mine
      copyfile(fullfile(demo, p{1}), fullfile(imgdir, p{1}));
      [~, stem] = fileparts(p{1});
      caption = esc(p{1});
      captionfile = fullfile(demo, [stem '.txt']);
      if (exist(captionfile, 'file'))
        caption = sprintf('%s <span class="file">(%s)</span>', ...
                          link_names(esc(strtrim(fileread(captionfile))), names), esc(p{1}));
      end
      sections = [sections sprintf(['<figure><a href="img/%s"><img src="img/%s" alt="%s"></a>' ...
                                    '<figcaption>%s</figcaption></figure>\n'], ...
                                   p{1}, p{1}, p{1}, caption)];
    end
    if (isempty(mine))
      sections = [sections "<p class=\"note\">This example prints numbers only.</p>\n"];
    end
    sections = [sections sprintf('</div>\n<pre class="example">%s</pre>\n', link_names(esc(code), names))];
  end
  body = [body "<ul class=\"toc\">\n" toc "</ul>\n" sections];
end

function body = montecarlo_body(root, names)
  % The hand-written page, with the per-realisation function of the
  % example in place of @REALISATION@.
  body = link_names(fileread(fullfile(root, 'doc', 'montecarlo.html.in')), names);
  code = fileread(fullfile(root, 'examples', 'montecarlo', 'turbulence_realisation.m'));
  body = strrep(body, '@REALISATION@', link_names(esc(code), names));
end

function body = python_body(root, outdir, names)
  % The Python page (doc/python.html.in) with the pictures of the Python
  % examples that make demo wrote into build/demo (python_*.png).
  body = link_names(fileread(fullfile(root, 'doc', 'python.html.in')), names);
  demo = fullfile(root, 'build', 'demo');
  pngs = dir(fullfile(demo, 'python_*.png'));
  if (isempty(pngs))
    pics = ['<p class="note">No pictures yet: run <code>make demo</code>, then ' ...
            '<code>make doc</code>.</p>' "\n"];
  else
    imgdir = fullfile(outdir, 'img');
    if (! exist(imgdir, 'dir'))
      mkdir(imgdir);
    end
    pics = '';
    for k = 1:numel(pngs)
      copyfile(fullfile(demo, pngs(k).name), fullfile(imgdir, pngs(k).name));
      [~, base] = fileparts(pngs(k).name);
      script = ['examples/python/' strrep(base, 'python_', '') '.py'];
      caption = esc(pngs(k).name);
      captionfile = fullfile(demo, [base '.txt']);
      if (exist(captionfile, 'file'))
        caption = link_names(esc(strtrim(fileread(captionfile))), names);
      end
      pics = [pics sprintf(['<figure class="wide"><img src="img/%s" alt="%s">' ...
                            '<figcaption>%s <span class="file">(%s, from <code>%s</code>)</span>' ...
                            '</figcaption></figure>\n'], ...
                           pngs(k).name, pngs(k).name, caption, pngs(k).name, script)];
    end
  end
  body = strrep(body, '@PICTURES@', pics);
end
function write_page(outdir, file, title, body, version, groups, cmds)
  nav = ['<nav><a href="index.html">Korvane ' version '</a> ' ...
         '<a href="conventions.html">Conventions</a> <a href="turbulence.html">Turbulence</a> ' ...
         '<a href="media.html">Media</a> <a href="focus.html">Focusing</a> ' ...
         '<a href="beams.html">Beams</a> ' ...
         '<a href="gallery.html">Gallery</a> <a href="performance.html">Performance</a> ' ...
         '<a href="montecarlo.html">Monte Carlo</a> <a href="python.html">Python</a>'];
  side = '';
  names = {cmds.name};
  for g = 1:numel(groups)
    side = [side sprintf('<h4>%s</h4>\n<ul>\n', esc(groups(g).title))];
    for n = groups(g).names
      side = [side sprintf('<li><a href="%s.html">%s</a></li>\n', n{1}, n{1})];
    end
    side = [side "</ul>\n"];
  end
  html = ["<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n" ...
          sprintf('<title>%s &ndash; Korvane %s</title>\n', esc(title), version) ...
          "<link rel=\"stylesheet\" href=\"style.css\">\n</head>\n<body>\n" nav "</nav>\n" ...
          "<div class=\"wrap\">\n<aside>\n" side "</aside>\n<main>\n" ...
          sprintf('<h1>%s</h1>\n', esc(title)) body "</main>\n</div>\n" ...
          sprintf('<footer>Korvane %s reference manual, generated from the help texts.</footer>\n', version) ...
          "</body>\n</html>\n"];
  fid = fopen(fullfile(outdir, file), 'w');
  fputs(fid, html);
  fclose(fid);
end
