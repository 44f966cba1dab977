% The helpers the examples draw their pictures with (examples/demo_*.m):
% the layout of demo_figure, the colours of demo_image, the files of
% demo_save. They draw through gnuplot, as make demo does: without it on
% the path (a bare Octave install) the drawing tests pass without drawing.

%!function ok = use_examples()
%!  addpath(fullfile(fileparts(fileparts(fileparts(which('run_tests')))), 'examples'));
%!  ok = ! isempty(file_in_path(getenv('PATH'), 'gnuplot'));
%!  if ! ok
%!    return;
%!  end
%!  warning('off', 'Octave:gnuplot-graphics');
%!  warning('off', 'print:nogs');  % pngcairo needs no Ghostscript
%!  graphics_toolkit('gnuplot');
%!  set(0, 'defaultfigurevisible', 'off');
%!endfunction

%!function overlap = overlaps(a, b)
%!  overlap = a(1) < b(1) + b(3) && b(1) < a(1) + a(3) && a(2) < b(2) + b(4) && b(2) < a(2) + a(4);
%!endfunction

% Every panel and colour bar lies inside the figure, none overlaps another,
% and a panel's colour bar, its ticks and its label (about 90 pixels) end
% before the next panel's y labels begin.
%!test
%! if ! use_examples(), return; end
%! layouts = {{2, 3, 100, 'bar', 'each'}, {1, 2, [150 90], 'bar', [true false], 'heading', 'h'}, ...
%!            {4, 4, 80, 'bar', 'last', 'shared', true}, {2, 4, 60, 'bar', 'last', 'shared', 'y'}, ...
%!            {1, 1, 200}};
%! for k = 1:numel(layouts)
%!   [fig, pos, barpos] = demo_figure(layouts{k}{:});
%!   unwind_protect
%!     fsize = get(fig, 'position')(3:4);
%!     [nr, nc] = size(pos);
%!     assert([nr, nc], [layouts{k}{1:2}]);
%!     places = pos(:);
%!     if any(strcmp(layouts{k}, 'last'))
%!       places{end + 1} = barpos;
%!     end
%!     for i = 1:numel(places)
%!       p = places{i};
%!       assert(p(1) >= 0 && p(2) >= 0 && p(1) + p(3) <= fsize(1) && p(2) + p(4) <= fsize(2));
%!       for j = i + 1:numel(places)
%!         assert(! overlaps(places{i}, places{j}));
%!       end
%!     end
%!     bar = layouts{k}(find(strcmp(layouts{k}, 'bar')) + 1);
%!     for c = 1:nc
%!       if ! isempty(bar) && (isequal(bar{1}, 'each') || (islogical(bar{1}) && bar{1}(c)) ...
%!                            || (isequal(bar{1}, 'last') && c == nc))
%!         room = fsize(1);
%!         if c < nc
%!           room = pos{1, c + 1}(1) - 14;
%!         end
%!         assert(room - (pos{1, c}(1) + pos{1, c}(3)) >= 100);
%!       end
%!     end
%!     % Panels of a row share their bottom edge, panels of a column their left.
%!     assert(numel(unique(cellfun(@(p) p(2), pos(1, :)))), 1);
%!     assert(numel(unique(cellfun(@(p) p(1), pos(:, 1)))), 1);
%!   unwind_protect_cleanup
%!     close(fig);
%!   end_unwind_protect
%! end

%!error <unknown option shard> demo_figure(1, 1, 100, 'shard', true)

% NaN samples take one extra light grey colour below the map; the colour
% bar still spans the limits asked for; the axes carry the unit's scale.
%!test
%! if ! use_examples(), return; end
%! [fig, pos] = demo_figure(1, 1, 120, 'bar', 'each');
%! unwind_protect
%!   x = (-2:2) * 1e-3;
%!   V = magic(5) / 25;
%!   V(1, 1) = NaN;
%!   map = hot(64);
%!   ax = demo_image(pos{1}, x, x, V, 'clim', [0 1], 'map', map, 'bar', 'intensity');
%!   assert(size(colormap(ax)), [65 3]);
%!   assert(colormap(ax)(1, :), [0.9 0.9 0.9]);
%!   assert(colormap(ax)(2:end, :), map);
%!   step = 1 / 64;
%!   assert(get(ax, 'clim'), [-step 1], eps);
%!   img = findobj(ax, 'type', 'image');
%!   C = get(img, 'cdata');
%!   % The NaN sample falls in the grey entry, the others where they were.
%!   assert(C(1, 1) > -step && C(1, 1) < 0);
%!   assert(C(2:end), V(2:end));
%!   cb = findobj(fig, 'tag', 'colorbar');
%!   assert(get(cb, 'ylim'), [0 1]);
%!   assert(get(img, 'xdata')([1 end]), [-2 2], 1e-12);
%!   assert(strcmp(get(get(ax, 'xlabel'), 'string'), 'x (mm)'));
%!   assert(strcmp(get(ax, 'ydir'), 'normal'));
%!   % The colour bar stands where demo_figure left room, the panel where it was put.
%!   assert(get(ax, 'position'), pos{1}, 1e-9);
%!   assert(get(cb, 'position')(1) > pos{1}(1) + pos{1}(3));
%! unwind_protect_cleanup
%!   close(fig);
%! end_unwind_protect

% Without NaN the map and the limits are those asked for; 'µm' scales by 1e6.
%!test
%! if ! use_examples(), return; end
%! [fig, pos] = demo_figure(1, 1, 80);
%! unwind_protect
%!   ax = demo_image(pos{1}, [-1 1] * 1e-6, [0 2] * 1e-6, [1 2; 3 4], 'unit', 'µm', 'map', gray(8));
%!   assert(size(colormap(ax)), [8 3]);
%!   assert(get(ax, 'clim'), [1 4]);
%!   assert(get(findobj(ax, 'type', 'image'), 'ydata')([1 end]), [0 2], 1e-12);
%!   assert(isempty(findobj(fig, 'tag', 'colorbar')));
%! unwind_protect_cleanup
%!   close(fig);
%! end_unwind_protect

%!error <unknown unit> use_examples(); demo_image([10 10 50 50], 1:2, 1:2, eye(2), 'unit', 'inch')

% The PNG has the figure's size in pixels, the caption stands beside it.
%!test
%! if ! use_examples(), return; end
%! dir_ = tempname();
%! mkdir(dir_);
%! unwind_protect
%!   [fig, pos] = demo_figure(1, 2, [90 70], 'bar', 'each', 'heading', 'λ = 633 nm');
%!   fsize = get(fig, 'position')(3:4);
%!   demo_image(pos{1}, 1:3, 1:3, eye(3), 'bar', 'phase (rad)', 'title', 'µ');
%!   demo_save(fig, 'pic', 'A caption, λ in µm.', dir_);
%!   info = imfinfo(fullfile(dir_, 'pic.png'));
%!   assert([info.Width, info.Height], fsize);
%!   assert(fileread(fullfile(dir_, 'pic.txt')), "A caption, λ in µm.\n");
%!   assert(! isfigure(fig));
%! unwind_protect_cleanup
%!   confirm_recursive_rmdir(false, 'local');
%!   rmdir(dir_, 's');
%! end_unwind_protect
