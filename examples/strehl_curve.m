% The Strehl ratio of a circular pupil against the amplitude of a single
% Zernike aberration: defocus, astigmatism, coma and spherical aberration,
% each from 0 to 3 radians at the pupil edge. For defocus the curve is
% compared with the Marechal estimate exp(-sigma^2): the phase 2*rho^2 - 1
% has a variance of 1/3 over the pupil, so sigma^2 = A^2/3.
% Writes build/demo/strehl_curve.png.

side = 5e-3;
lambda = 633e-9;
N = 128;
R = 2e-3;                    % pupil radius; the terms reach A there
A = linspace(0, 3, 31);      % amplitudes, rad

% n, m, name
terms = {2, 0, 'defocus (2,0)'; 2, 2, 'astigmatism (2,2)'; ...
         3, 1, 'coma (3,1)'; 4, 0, 'spherical (4,0)'};

pupil = KVCircAperture(R, 0, 0, KVBegin(side, lambda, N));
SR = zeros(rows(terms), numel(A));
for t = 1:rows(terms)
  for k = 1:numel(A)
    SR(t, k) = KVStrehl(KVZernike(terms{t, 1}, terms{t, 2}, R, A(k), pupil));
  end
end

% Where each curve crosses 0.8, the usual limit of a well corrected
% system: a cubic (pchip) through the four amplitudes around it.
cross = zeros(rows(terms), 1);
for t = 1:rows(terms)
  k = find(SR(t, :) < 0.8, 1);
  cross(t) = interp1(SR(t, k - 2:k + 1), A(k - 2:k + 1), 0.8, 'pchip');
  printf('  %-18s Strehl 0.8 at A = %.2f rad\n', terms{t, 3}, cross(t));
end
printf('  Marechal estimate for defocus: 0.8 at A = sqrt(3 ln(1/0.8)) = %.2f rad\n', ...
       sqrt(3 * log(1 / 0.8)));

[fig, pos] = demo_figure(1, 1, [520 360]);
ax = axes('units', 'pixels', 'position', pos{1});
plot(ax, A, SR, 'linewidth', 2);
hold(ax, 'on');
plot(ax, A, exp(-A.^2 / 3), 'k--', [A(1) A(end)], [0.8 0.8], 'k:', cross, 0.8 + 0 * cross, ...
     'ko', 'markersize', 6);
hold(ax, 'off');
grid(ax, 'on');
axis(ax, [A(1) A(end) 0 1.05]);
xlabel(ax, 'aberration amplitude A at the pupil edge (rad)');
ylabel(ax, 'Strehl ratio');
title(ax, 'Strehl ratio of a circular pupil with one Zernike term (KVStrehl)');
legend(ax, [terms(:, 3)' {'Maréchal exp(-A^2/3), defocus', 'Strehl ratio 0.8', ...
                          'crossings of 0.8'}], 'location', 'southwest');
demo_save(fig, 'strehl_curve', ...
          sprintf(['The Strehl ratio (KVStrehl) of a circular pupil carrying one Zernike term of ' ...
                   'amplitude A at its edge, against A. The circles mark where each curve ' ...
                   'crosses 0.8: A = %.2f (defocus), %.2f (astigmatism), %.2f (coma) and %.2f rad ' ...
                   '(spherical aberration). Dashed: the Maréchal estimate exp(−A²/3) for ' ...
                   'defocus.'], cross));
