function ax = demo_image(pos, x, y, V, varargin)
  % ax = demo_image(pos, x, y, V, option, value, ...)
  % Draws the array V as an image in a panel at pos ([left bottom width
  % height] in pixels, from demo_figure): V(r, c) at (x(c), y(r)), x and y
  % in metres (or radians), y growing upward. NaN samples are drawn in a
  % light grey that the colour bar leaves out (outside a pupil, say).
  % Returns the axes.
  %
  % Options:
  %   'unit'     unit of both axes: 'm', 'mm' (default), 'µm', 'mrad'
  %   'yunit'    unit of the y axis, when it differs
  %   'xlabel'   name of the x axis ('x'); its unit is added
  %   'ylabel'   name of the y axis ('y')
  %   'xticks'   false: no x tick labels and no x label (inner panels)
  %   'yticks'   false: no y tick labels and no y label
  %   'title'    the panel's title
  %   'clim'     the values the colour map spans (default: V's range)
  %   'map'      the colour map (default hot(256))
  %   'bar'      label of a colour bar right of the panel: the quantity
  %              and its unit; '' (default) draws none
  %   'barpos'   the colour bar's place in pixels (default: beside the
  %              panel)
  %   'barticks' {values, labels} of the colour bar's ticks
  opt = struct('unit', 'mm', 'yunit', '', 'xlabel', 'x', 'ylabel', 'y', 'xticks', true, ...
               'yticks', true, 'title', '', 'clim', [], 'map', hot(256), 'bar', '', ...
               'barpos', [], 'barticks', {{}});
  for k = 1:2:numel(varargin)
    if ! isfield(opt, varargin{k})
      error('demo_image: unknown option %s', varargin{k});
    end
    opt.(varargin{k}) = varargin{k + 1};
  end
  if isempty(opt.yunit)
    opt.yunit = opt.unit;
  end
  if isempty(opt.clim)
    opt.clim = [min(V(:)), max(V(:))];
    if ! (opt.clim(2) > opt.clim(1))
      opt.clim = opt.clim(1) + [-0.5 0.5];
    end
  end
  % NaN as one more colour below the map's, drawn nowhere else.
  blank = isnan(V);
  climits = opt.clim;
  if any(blank(:))
    n = rows(opt.map);
    step = (opt.clim(2) - opt.clim(1)) / n;
    opt.map = [0.9 0.9 0.9; opt.map];
    climits = [opt.clim(1) - step, opt.clim(2)];
    V(blank) = opt.clim(1) - step / 2;
  end
  x = x * unit_scale(opt.unit);
  y = y * unit_scale(opt.yunit);
  % Half a sample beyond the first and last centres (a single one: 1).
  half = @(v) 0.5 * [-1 1] * max([abs(v(end) - v(1)) / max(numel(v) - 1, 1), ...
                                  (numel(v) == 1) * 1]);
  % The colour map before the colour bar: changing it afterwards trips
  % Octave 7's colour bar listener. The image is made by the low-level
  % call, which spares the reset of a fresh axes that imagesc costs.
  ax = axes('units', 'pixels', 'position', pos, 'colormap', opt.map, 'clim', climits, ...
            'xlim', sort(x([1 end])) + half(x), 'ylim', sort(y([1 end])) + half(y), ...
            'ydir', 'normal', 'tickdir', 'out', 'layer', 'top', 'box', 'on');
  image(ax, 'xdata', x([1 end]), 'ydata', y([1 end]), 'cdata', V, 'cdatamapping', 'scaled');
  if opt.xticks
    xlabel(ax, sprintf('%s (%s)', opt.xlabel, opt.unit));
  else
    set(ax, 'xticklabel', {});
  end
  if opt.yticks
    ylabel(ax, sprintf('%s (%s)', opt.ylabel, opt.yunit));
  else
    set(ax, 'yticklabel', {});
  end
  if ! isempty(opt.title)
    title(ax, opt.title);
  end
  if ! isempty(opt.bar)
    if isempty(opt.barpos)
      opt.barpos = [pos(1) + pos(3) + 12, pos(2), 14, pos(4)];
    end
    % Placed by hand: the automatic place shrinks the panel.
    cb = colorbar(ax);
    set(cb, 'location', 'manual');
    set(ax, 'position', pos);
    set(cb, 'units', 'pixels', 'position', opt.barpos);
    set(cb, 'ylim', opt.clim);
    ylabel(cb, opt.bar);
    if ! isempty(opt.barticks)
      set(cb, 'ytick', opt.barticks{1}, 'yticklabel', opt.barticks{2});
    end
  end
end

function s = unit_scale(unit)
  switch unit
    case 'm'
      s = 1;
    case {'mm', 'mrad'}
      s = 1e3;
    case {'µm', 'µrad'}
      s = 1e6;
    otherwise
      error('demo_image: unknown unit %s', unit);
  end
end
