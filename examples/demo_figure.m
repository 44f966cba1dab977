function [fig, pos, barpos] = demo_figure(rows, cols, panel, varargin)
  % [fig, pos, barpos] = demo_figure(rows, cols, panel, option, value, ...)
  % An invisible figure for a demo picture, laid out as rows x cols panels
  % of panel = [width height] pixels each (a scalar: square panels). Its
  % size in pixels is that of the PNG demo_save writes.
  %
  % pos{r, c}  the panel's place [left bottom width height] in pixels,
  %            row r counted from the top; for demo_image or
  %            axes('units', 'pixels', 'position', pos{r, c})
  % barpos     the place of one colour bar right of the last column,
  %            as high as all rows (with 'bar', 'last')
  %
  % Options:
  %   'bar'      'none' (default), 'each' (room for a colour bar right of
  %              every panel), 'last' (right of the last column only), or
  %              one logical a column (room right of the columns marked)
  %   'heading'  a title over the whole figure
  %   'shared'   true: tick labels and axis labels only on the left column
  %              and the bottom row, so the panels stand closer; 'y': only
  %              on the left column (the rows keep room for x labels)
  opt = struct('bar', 'none', 'heading', '', 'shared', false);
  for k = 1:2:numel(varargin)
    if ! isfield(opt, varargin{k})
      error('demo_figure: unknown option %s', varargin{k});
    end
    opt.(varargin{k}) = varargin{k + 1};
  end
  if isscalar(panel)
    panel = [panel panel];
  end
  w = panel(1);
  h = panel(2);
  left = 72;          % y tick labels and y label
  bottom = 58;        % x tick labels and x label
  top = 34;           % a panel title
  bar = 110;          % colour bar, its tick labels and its label
  right = 22;
  head = 32 * ! isempty(opt.heading);
  shared_y = isequal(opt.shared, true) || strcmp(opt.shared, 'y');
  shared_x = isequal(opt.shared, true);
  inner_x = left;
  inner_y = bottom;
  if shared_y
    inner_x = 24;         % room for the end tick labels of two panels
  end
  if shared_x
    inner_y = 8;
  end

  % Which columns have a colour bar to their right.
  if ischar(opt.bar)
    has_bar = repmat(strcmp(opt.bar, 'each'), 1, cols);
    has_bar(end) = has_bar(end) || strcmp(opt.bar, 'last');
  else
    has_bar = logical(opt.bar);
  end
  % Columns from the left, rows from the top.
  x = zeros(1, cols);
  x(1) = left;
  for c = 2:cols
    if has_bar(c - 1)
      x(c) = x(c - 1) + w + bar + inner_x;
    else
      x(c) = x(c - 1) + w + right * ! shared_y + inner_x;
    end
  end
  width = x(end) + w + right;
  if has_bar(end)
    width = x(end) + w + bar;
  end
  y = zeros(1, rows);       % top edge of each row, from the figure's top
  y(1) = head + top;
  for r = 2:rows
    y(r) = y(r - 1) + h + inner_y + top;
  end
  height = y(end) + h + bottom;

  fig = figure('visible', 'off', 'position', [0 0 width height], 'color', 'w');
  pos = cell(rows, cols);
  for r = 1:rows
    for c = 1:cols
      pos{r, c} = [x(c), height - y(r) - h, w, h];
    end
  end
  barpos = [x(end) + w + 12, height - y(end) - h, 14, y(end) + h - y(1)];
  if ! isempty(opt.heading)
    hax = axes('parent', fig, 'units', 'normalized', 'position', [0 0 1 1], ...
               'visible', 'off', 'xlim', [0 1], 'ylim', [0 1]);
    text(hax, 0.5, 1 - 18 / height, opt.heading, 'horizontalalignment', 'center', ...
         'verticalalignment', 'middle', 'fontsize', 12, 'fontweight', 'bold');
  end
end
