% A plane wave through a circular lens of diameter D, propagated to the
% focal plane: the Airy pattern, first dark ring at 1.22*lambda*f/D.
% Writes build/demo/lens_focus.png.
size_ = 6e-3;           % grid side: 6 mm
lambda = 633e-9;
N = 256;
R = 2e-3;               % lens radius
f = 1;                  % focal length: 1 m

F = KVBegin(size_, lambda, N);
F = KVCircAperture(R, 0, 0, F);
F = KVLens(f, 0, 0, F);
% KVForward spaces the input by size/(N - 1), so it sees the lens phase
% stretched by N/(N - 1): the focus lies at f*(N/(N - 1))^2 and the lens
% is R*N/(N - 1) in radius.
s = N / (N - 1);
z = f * s^2;
a = R * s;
M = 129;                % odd: a sample on the axis
G = KVForward(z, 1e-3, M, F);
I = KVIntensity(0, G);
I = I / max(I(:));

% The first minimum along the x axis, against the Airy radius.
c = (M + 1) / 2;
x = ((1:M) - c) * 1e-3 / (M - 1);
row = I(c, c:end);
k = find(diff(row) > 0, 1);
airy = 1.22 * lambda * z / (2 * a);
printf('  first dark ring at %.1f um; Airy radius 1.22*lambda*z/D = %.1f um\n', ...
       1e6 * x(c + k - 1), 1e6 * airy);

% The Airy pattern (2 J1(v)/v)^2, v = 2 pi a r/(lambda z), on a fine radius.
r = linspace(1e-9, 5e-4, 1000);
v = 2 * pi * a * r / (lambda * z);
theory = (2 * besselj(1, v) ./ v).^2;

[fig, pos] = demo_figure(1, 2, 300, 'bar', [true false], 'heading', ...
                         'Focus of a lens of f = 1 m and D = 4 mm (λ = 633 nm)');
ax = demo_image(pos{1}, x, x, log10(max(I, 1e-5)), 'unit', 'µm', 'clim', [-5 0], ...
                'title', 'focal plane, KVForward', 'bar', 'log_{10}(intensity / peak)');
t = linspace(0, 2 * pi, 200);
hold(ax, 'on');
plot(ax, 1e6 * airy * cos(t), 1e6 * airy * sin(t), 'c--', 'linewidth', 1);
hold(ax, 'off');
ax = axes('units', 'pixels', 'position', pos{2});
% On the scale of the left panel (a logarithmic axis beside a colour bar
% trips gnuplot's axis linking).
plot(ax, 1e6 * x(c:end), log10(max(row, 1e-7)), 'o', 'markersize', 4, ...
     1e6 * r, log10(theory), 'k-', 1e6 * [airy airy], [-6 0.2], 'k:');
axis(ax, [0 500 -6 0.2]);
grid(ax, 'on');
xlabel(ax, 'x, along y = 0 (µm)');
ylabel(ax, 'log_{10}(intensity / peak)');
title(ax, 'along the x axis');
legend(ax, 'KVForward', '(2 J_1(v)/v)^2', '1.22 λ f / D', 'location', 'northeast');
demo_save(fig, 'lens_focus', ...
          ['A plane wave through a lens of diameter 4 mm and focal length 1 m, propagated to the ' ...
           'focal plane by KVForward onto a 1 mm grid. Left: the intensity on a logarithmic scale; ' ...
           'dashed, the first dark ring at 1.22 λf/D = 194 µm. Right: the intensity along the ' ...
           'x axis against the Airy pattern (2 J₁(v)/v)².']);
