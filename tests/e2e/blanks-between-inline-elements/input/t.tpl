<html><body>
<ul>
  <!-- <template /> -->
</ul>
</body></html>
